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
#define PAGELATHE_CURL_LOOK(name) Look(library, "curl_" #name, curl.name);
    PAGELATHE_CURL_FUNCTIONS(PAGELATHE_CURL_LOOK)
#undef PAGELATHE_CURL_LOOK
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
