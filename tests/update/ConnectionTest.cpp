// The connection state: which interface entries count as a connection.
#include "update/Connection.h"

#include <gtest/gtest.h>

namespace pagelathe {
namespace {

TEST(Connection, AnUpNonLoopbackInterfaceWithAnAddressIsAConnection) {
  using E = NetworkInterfaceEntry;
  const E lo{"lo", true, true, true};
  const E eth_ip{"eth0", true, false, true};
  const E eth_link_only{"eth0", true, false, false};  // the link-layer entry of an interface
  const E eth_down{"eth0", false, false, true};
  const struct {
    const char* name;
    std::vector<E> entries;
    bool connected;
  } cases[] = {
      {"no interfaces", {}, false},
      {"loopback only", {lo}, false},
      {"ethernet with an address", {lo, eth_ip}, true},
      {"ethernet without an address", {lo, eth_link_only}, false},
      {"ethernet down", {lo, eth_down}, false},
      {"address found after other entries", {eth_link_only, eth_down, lo, eth_ip}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HasConnectedInterface(c.entries), c.connected) << c.name;
}

TEST(Connection, TheMachinesLoopbackIsListedAsLoopback) {
  bool found = false;
  for (const NetworkInterfaceEntry& entry : ListNetworkInterfaces()) {
    if (entry.name == "lo" && entry.has_ip_address) {
      found = true;
      EXPECT_TRUE(entry.loopback);
    }
  }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace pagelathe
