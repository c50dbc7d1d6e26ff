// libcurl, loaded when a transfer first needs it rather than when the program starts: the
// libraries it brings along (GnuTLS, Kerberos, LDAP, p11-kit ...) take some 5 ms to load and
// set up, which every command and the window would otherwise pay for, mostly for nothing.
// Only the link check and the update download use it.
#pragma once

#include <curl/curl.h>

namespace pagelathe {

// The functions of libcurl the program calls, by their names without "curl_".
// clang-format off
#define PAGELATHE_CURL_FUNCTIONS(X)                                                   \
  X(easy_init) X(easy_cleanup) X(easy_setopt) X(easy_getinfo) X(easy_perform)         \
  X(easy_strerror) X(multi_init) X(multi_cleanup) X(multi_setopt) X(multi_add_handle) \
  X(multi_remove_handle) X(multi_perform) X(multi_poll) X(multi_info_read)            \
  X(share_init) X(share_cleanup) X(share_setopt) X(slist_append) X(slist_free_all)
// clang-format on

struct CurlLibrary {
#define PAGELATHE_CURL_FIELD(name) decltype(&::curl_##name) name;
  PAGELATHE_CURL_FUNCTIONS(PAGELATHE_CURL_FIELD)
#undef PAGELATHE_CURL_FIELD
};

// libcurl, loaded and set up (curl_global_init) by the first call, from any thread. Raises
// std::runtime_error, naming the reason, when it cannot be loaded or set up; the next call
// tries again.
[[nodiscard]] const CurlLibrary& Curl();

}  // namespace pagelathe
