// libcurl, loaded when a transfer first needs it rather than when the program starts: the
// libraries it brings along (GnuTLS, Kerberos, LDAP, p11-kit ...) take some 5 ms to load and
// set up, which every command and the window would otherwise pay for, mostly for nothing.
// Only the link check and the update download use it.
#pragma once

#include <curl/curl.h>

namespace pagelathe {

// The functions of libcurl the program calls, under their names without "curl_".
struct CurlLibrary {
  decltype(&::curl_easy_init) easy_init;
  decltype(&::curl_easy_cleanup) easy_cleanup;
  decltype(&::curl_easy_setopt) easy_setopt;
  decltype(&::curl_easy_getinfo) easy_getinfo;
  decltype(&::curl_easy_perform) easy_perform;
  decltype(&::curl_easy_strerror) easy_strerror;
  decltype(&::curl_multi_init) multi_init;
  decltype(&::curl_multi_cleanup) multi_cleanup;
  decltype(&::curl_multi_setopt) multi_setopt;
  decltype(&::curl_multi_add_handle) multi_add_handle;
  decltype(&::curl_multi_remove_handle) multi_remove_handle;
  decltype(&::curl_multi_perform) multi_perform;
  decltype(&::curl_multi_poll) multi_poll;
  decltype(&::curl_multi_info_read) multi_info_read;
  decltype(&::curl_share_init) share_init;
  decltype(&::curl_share_cleanup) share_cleanup;
  decltype(&::curl_share_setopt) share_setopt;
  decltype(&::curl_slist_append) slist_append;
  decltype(&::curl_slist_free_all) slist_free_all;
};

// libcurl, loaded and set up (curl_global_init) by the first call, from any thread. Raises
// std::runtime_error, naming the reason, when it cannot be loaded or set up; the next call
// tries again.
[[nodiscard]] const CurlLibrary& Curl();

}  // namespace pagelathe
