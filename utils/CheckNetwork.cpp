#include "utils/CheckNetwork.h"

#include "platform/FileSystem.h"
#include "utils/DebugLog.h"

#include <ifaddrs.h>
#include <memory>
#include <net/if.h>
#include <netinet/in.h>
#include <string>
#include <vector>

namespace Utils {
namespace {

constexpr unsigned kRouteUp = 0x0001;
constexpr unsigned kRouteReject = 0x0200;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        std::size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = line.size();
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        visit(Fields(text.substr(start, end - start)));
        start = end + 1;
    }
}

bool IsAllZero(std::string_view hex) { return !hex.empty() && hex.find_first_not_of('0') == std::string_view::npos; }

unsigned HexFlags(std::string_view hex) {
    unsigned value = 0;
    for (char c : hex.substr(0, 8)) {
        const int digit = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (digit < 0) return 0;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

bool IsUsableRoute(std::string_view device, std::string_view flags) {
    const unsigned bits = HexFlags(flags);
    return device != "lo" && (bits & kRouteUp) && !(bits & kRouteReject);
}

bool IsGlobalIpv6(const in6_addr& address) {
    return !IN6_IS_ADDR_LOOPBACK(&address) && !IN6_IS_ADDR_LINKLOCAL(&address) && !IN6_IS_ADDR_UNSPECIFIED(&address);
}

void CollectAddresses(NetworkFacts& facts) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return;
    const std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner(list, ::freeifaddrs);
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || (entry->ifa_flags & IFF_LOOPBACK) || !(entry->ifa_flags & IFF_UP)) continue;
        if (entry->ifa_addr->sa_family == AF_INET) facts.ipv4Address = true;
        if (entry->ifa_addr->sa_family == AF_INET6 &&
            IsGlobalIpv6(reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr)->sin6_addr))
            facts.ipv6Address = true;
    }
}

bool ReadsDefaultRoute(const char* path, bool (*hasDefault)(std::string_view)) {
    std::string text;
    return Platform::ReadWholeFile(path, text) && hasDefault(text);
}

}  // namespace

bool HasIpv4DefaultRoute(std::string_view procNetRoute) {
    bool found = false;
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
    ForEachLine(procNetRoute, [&](const std::vector<std::string_view>& f) {
        if (f.size() >= 8 && IsAllZero(f[1]) && IsAllZero(f[7]) && IsUsableRoute(f[0], f[3])) found = true;
    });
    return found;
}

bool HasIpv6DefaultRoute(std::string_view procNetIpv6Route) {
    bool found = false;
    // destination prefix-length source source-prefix next-hop metric refcnt use flags device
    ForEachLine(procNetIpv6Route, [&](const std::vector<std::string_view>& f) {
        if (f.size() >= 10 && f[0].size() == 32 && IsAllZero(f[0]) && IsAllZero(f[1]) && IsUsableRoute(f[9], f[8]))
            found = true;
    });
    return found;
}

uint32_t NetworkProbeResult(const NetworkFacts& facts) {
    uint32_t flags = 0;
    if (facts.ipv4Address) flags |= facts.ipv4DefaultRoute ? kConnectivityIpv4Internet : kConnectivityIpv4LocalNetwork;
    if (facts.ipv6Address) flags |= facts.ipv6DefaultRoute ? kConnectivityIpv6Internet : kConnectivityIpv6LocalNetwork;
    if (flags == 0) return kNetworkVerdictNoConnectivity << 16;
    const bool internet = (flags & (kConnectivityIpv4Internet | kConnectivityIpv6Internet)) != 0;
    return internet ? flags : flags | kNetworkVerdictNoInternet << 16;
}

uint32_t CheckNetwork() {
    NetworkFacts facts;
    CollectAddresses(facts);
    facts.ipv4DefaultRoute = ReadsDefaultRoute("/proc/net/route", HasIpv4DefaultRoute);
    facts.ipv6DefaultRoute = ReadsDefaultRoute("/proc/net/ipv6_route", HasIpv6DefaultRoute);
    const uint32_t result = NetworkProbeResult(facts);
    const uint32_t flags = result & 0xFFFF;
    if (flags == 0) DEBUG_LOG("GetConnectivity %d", static_cast<int>(flags));
    else if (result >> 16) DEBUG_LOG("get_IsConnectedToInternet:%d", 0);
    return result;
}

}  // namespace Utils
