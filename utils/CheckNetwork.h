#pragma once

#include <cstdint>
#include <string_view>

namespace Utils {

// Connectivity flags, low 16 bits of the CheckNetwork result.
inline constexpr uint32_t kConnectivityIpv4Subnet = 0x10;
inline constexpr uint32_t kConnectivityIpv4LocalNetwork = 0x20;
inline constexpr uint32_t kConnectivityIpv4Internet = 0x40;
inline constexpr uint32_t kConnectivityIpv6Subnet = 0x100;
inline constexpr uint32_t kConnectivityIpv6LocalNetwork = 0x200;
inline constexpr uint32_t kConnectivityIpv6Internet = 0x400;

// Verdicts, bits 16 and 17 of the result.
inline constexpr uint32_t kNetworkVerdictNoConnectivity = 1;
inline constexpr uint32_t kNetworkVerdictNoInternet = 2;

struct NetworkFacts {
    bool ipv4Address = false;       // a non-loopback interface that is up holds an IPv4 address
    bool ipv6Address = false;       // ... a global IPv6 address
    bool ipv4DefaultRoute = false;  // a usable default route exists
    bool ipv6DefaultRoute = false;
};

// Connectivity flags | verdict << 16. Above 0xFFFF means no usable internet connection.
uint32_t CheckNetwork();
uint32_t NetworkProbeResult(const NetworkFacts& facts);

// Default routes out of the text of /proc/net/route and /proc/net/ipv6_route.
bool HasIpv4DefaultRoute(std::string_view procNetRoute);
bool HasIpv6DefaultRoute(std::string_view procNetIpv6Route);

}  // namespace Utils
