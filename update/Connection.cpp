// The connection state from getifaddrs.
#include "update/Connection.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

namespace pagelathe {

bool HasConnectedInterface(const std::vector<NetworkInterfaceEntry>& entries) {
  for (const NetworkInterfaceEntry& entry : entries) {
    if (entry.up && !entry.loopback && entry.has_ip_address) return true;
  }
  return false;
}

std::vector<NetworkInterfaceEntry> ListNetworkInterfaces() {
  std::vector<NetworkInterfaceEntry> entries;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return entries;
  for (const ifaddrs* item = list; item != nullptr; item = item->ifa_next) {
    NetworkInterfaceEntry entry;
    entry.name = item->ifa_name != nullptr ? item->ifa_name : "";
    entry.up = (item->ifa_flags & IFF_UP) != 0 && (item->ifa_flags & IFF_RUNNING) != 0;
    entry.loopback = (item->ifa_flags & IFF_LOOPBACK) != 0;
    const int family = item->ifa_addr != nullptr ? item->ifa_addr->sa_family : AF_UNSPEC;
    entry.has_ip_address = family == AF_INET || family == AF_INET6;
    entries.push_back(std::move(entry));
  }
  ::freeifaddrs(list);
  return entries;
}

bool InternetConnected() {
  return HasConnectedInterface(ListNetworkInterfaces());
}

}  // namespace pagelathe
