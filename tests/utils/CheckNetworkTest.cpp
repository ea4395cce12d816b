#include "utils/CheckNetwork.h"

#include <gtest/gtest.h>

namespace {

using namespace Utils;

struct FactsCase {
    NetworkFacts facts;
    uint32_t result;
    const char* what;
};

TEST(NetworkProbeResult, FlagsAndVerdict) {
    const FactsCase cases[] = {
        {{}, 0x10000, "no network at all"},
        {{false, false, true, true}, 0x10000, "routes without addresses"},
        {{true, false, false, false}, kConnectivityIpv4LocalNetwork | 2u << 16, "local network, no internet"},
        {{true, false, true, false}, kConnectivityIpv4Internet, "IPv4 internet"},
        {{false, true, false, true}, kConnectivityIpv6Internet, "IPv6 internet"},
        {{true, true, true, false}, kConnectivityIpv4Internet | kConnectivityIpv6LocalNetwork, "mixed"},
        {{true, true, false, false}, kConnectivityIpv4LocalNetwork | kConnectivityIpv6LocalNetwork | 2u << 16, "both local"},
    };
    for (const auto& c : cases) EXPECT_EQ(NetworkProbeResult(c.facts), c.result) << c.what;
}

TEST(DefaultRoutes, Ipv4RouteTable) {
    const char* header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    const std::string gateway = std::string(header) + "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n";
    const std::string subnetOnly = std::string(header) + "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
    const std::string down = std::string(header) + "eth0\t00000000\t0102A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n";
    const std::string loopback = std::string(header) + "lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
    EXPECT_TRUE(HasIpv4DefaultRoute(gateway));
    EXPECT_FALSE(HasIpv4DefaultRoute(subnetOnly));
    EXPECT_FALSE(HasIpv4DefaultRoute(down));
    EXPECT_FALSE(HasIpv4DefaultRoute(loopback));
    EXPECT_FALSE(HasIpv4DefaultRoute(header));
    EXPECT_FALSE(HasIpv4DefaultRoute(std::string("\0\xff garbage\n\n\t", 14)));
}

TEST(DefaultRoutes, Ipv6RouteTable) {
    const std::string zero(32, '0');
    const std::string gateway = zero + " 00 " + zero + " 00 fe800000000000000000000000000001 00000400 00000001 00000000 00000003     eth0\n";
    const std::string rejected = zero + " 00 " + zero + " 00 " + zero + " ffffffff 00000001 00000000 00200200       lo\n";
    const std::string prefix = "20010db8000000000000000000000000 40 " + zero + " 00 " + zero + " 00000100 00000001 00000000 00000001     eth0\n";
    EXPECT_TRUE(HasIpv6DefaultRoute(gateway));
    EXPECT_TRUE(HasIpv6DefaultRoute(rejected + gateway));
    EXPECT_FALSE(HasIpv6DefaultRoute(rejected));
    EXPECT_FALSE(HasIpv6DefaultRoute(prefix));
    EXPECT_FALSE(HasIpv6DefaultRoute("short line\n"));
}

TEST(CheckNetwork, VerdictMatchesTheFlags) {
    const uint32_t result = CheckNetwork();
    const uint32_t verdict = result >> 16;
    const uint32_t flags = result & 0xFFFF;
    EXPECT_LE(verdict, 2u);
    EXPECT_EQ(verdict == 1, flags == 0);
    EXPECT_EQ(verdict == 0, (flags & (kConnectivityIpv4Internet | kConnectivityIpv6Internet)) != 0);
}

}  // namespace
