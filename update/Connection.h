// Whether the machine has a network connection: the update check asks nothing while it has
// none. The answer comes from the network interfaces.
#pragma once

#include <string>
#include <vector>

namespace pagelathe {

// One address entry of a network interface (an interface with several addresses, or with
// only a link-layer entry, gives several entries or one without an IP address).
struct NetworkInterfaceEntry {
  std::string name;
  bool up = false;        // administratively up and running (it has a carrier)
  bool loopback = false;  // the machine's own loopback interface
  bool has_ip_address = false;
};

// True when some entry is up, not loopback, and carries an IPv4 or IPv6 address.
[[nodiscard]] bool HasConnectedInterface(const std::vector<NetworkInterfaceEntry>& entries);

// The machine's interface entries now (empty when they cannot be listed).
[[nodiscard]] std::vector<NetworkInterfaceEntry> ListNetworkInterfaces();

// HasConnectedInterface(ListNetworkInterfaces()).
[[nodiscard]] bool InternetConnected();

}  // namespace pagelathe
