// Loading libcurl by its shared object's name, as the linker would have.
#include "net/Curl.h"

#include <dlfcn.h>

#include <mutex>
#include <stdexcept>
#include <string>

namespace pagelathe {
namespace {

constexpr const char* kLibrary = "libcurl.so.4";

template <typename Function>
void Look(void* library, const char* name, Function& function) {
  void* found = ::dlsym(library, name);
  if (found == nullptr) throw std::runtime_error(std::string(kLibrary) + " has no " + name);
  function = reinterpret_cast<Function>(found);
}

CurlLibrary Load() {
  // Kept for the program's life: libcurl is never unloaded.
  void* library = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* why = ::dlerror();
    throw std::runtime_error(std::string("libcurl cannot be loaded: ") +
                             (why != nullptr ? why : kLibrary));
  }
  CurlLibrary curl{};
  try {
    decltype(&::curl_global_init) global_init = nullptr;
    Look(library, "curl_global_init", global_init);
    Look(library, "curl_easy_init", curl.easy_init);
    Look(library, "curl_easy_cleanup", curl.easy_cleanup);
    Look(library, "curl_easy_setopt", curl.easy_setopt);
    Look(library, "curl_easy_getinfo", curl.easy_getinfo);
    Look(library, "curl_easy_perform", curl.easy_perform);
    Look(library, "curl_easy_strerror", curl.easy_strerror);
    Look(library, "curl_multi_init", curl.multi_init);
    Look(library, "curl_multi_cleanup", curl.multi_cleanup);
    Look(library, "curl_multi_setopt", curl.multi_setopt);
    Look(library, "curl_multi_add_handle", curl.multi_add_handle);
    Look(library, "curl_multi_remove_handle", curl.multi_remove_handle);
    Look(library, "curl_multi_perform", curl.multi_perform);
    Look(library, "curl_multi_poll", curl.multi_poll);
    Look(library, "curl_multi_info_read", curl.multi_info_read);
    Look(library, "curl_share_init", curl.share_init);
    Look(library, "curl_share_cleanup", curl.share_cleanup);
    Look(library, "curl_share_setopt", curl.share_setopt);
    Look(library, "curl_slist_append", curl.slist_append);
    Look(library, "curl_slist_free_all", curl.slist_free_all);
    if (global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
      throw std::runtime_error("libcurl cannot start");
  } catch (...) {
    ::dlclose(library);
    throw;
  }
  return curl;
}

}  // namespace

const CurlLibrary& Curl() {
  static std::mutex mutex;
  static CurlLibrary curl{};
  static bool loaded = false;
  const std::lock_guard lock(mutex);
  if (!loaded) {
    curl = Load();
    loaded = true;
  }
  return curl;
}

}  // namespace pagelathe
