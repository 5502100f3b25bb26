// Protocol names and the --listen syntax. The address is only split off here; whether it is
// one the machine has is learned when it is bound.
#include "feeds/feed_protocol.h"

#include <charconv>

namespace {

struct ProtocolEntry {
    FeedProtocol protocol;
    const char* name;
    int port;
};

constexpr ProtocolEntry kProtocols[] = {
    {FeedProtocol::ddp, "ddp", 4048},
    {FeedProtocol::sacn, "sacn", 5568},
    {FeedProtocol::artnet, "artnet", 6454},
    {FeedProtocol::flaschen, "flaschen", 1337},
};

bool parsePort(std::string_view text, int& port) {
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), port);
    return failure == std::errc{} && end == text.data() + text.size() && port >= 1 && port <= 65535;
}

}  // namespace

const char* protocolName(FeedProtocol protocol) {
    return kProtocols[static_cast<int>(protocol)].name;
}

int defaultPort(FeedProtocol protocol) {
    return kProtocols[static_cast<int>(protocol)].port;
}

std::optional<ListenSpec> parseListenSpec(std::string_view text, std::string& error) {
    ListenSpec spec;
    const std::size_t nameEnd = text.find_first_of("=:");
    const std::string_view name = text.substr(0, nameEnd);
    bool known = false;
    for (const ProtocolEntry& entry : kProtocols) {
        if (name == entry.name) spec.protocol = entry.protocol, known = true;
    }
    if (!known) {
        error = "--listen needs ddp, sacn, artnet or flaschen, not \"" + std::string(name) + "\"";
        return std::nullopt;
    }
    spec.port = defaultPort(spec.protocol);
    std::string_view rest = nameEnd == std::string_view::npos ? "" : text.substr(nameEnd);
    if (rest.starts_with("=")) {
        rest.remove_prefix(1);
        std::string_view address;
        if (rest.starts_with("[")) {
            const std::size_t close = rest.find(']');
            if (close == std::string_view::npos) {
                error = "--listen: an IPv6 address needs its closing bracket";
                return std::nullopt;
            }
            address = rest.substr(1, close - 1);
            rest.remove_prefix(close + 1);
        } else {
            const std::size_t colon = rest.find(':');
            address = rest.substr(0, colon);
            rest = colon == std::string_view::npos ? "" : rest.substr(colon);
        }
        if (address.empty()) {
            error = "--listen: the address after = is empty";
            return std::nullopt;
        }
        spec.address = std::string(address);
    }
    if (rest.starts_with(":")) {
        if (!parsePort(rest.substr(1), spec.port)) {
            error = "--listen: the port must be a number from 1 to 65535";
            return std::nullopt;
        }
        rest = "";
    }
    if (!rest.empty()) {
        error = "--listen needs PROTOCOL[=ADDRESS][:PORT], not \"" + std::string(text) + "\"";
        return std::nullopt;
    }
    return spec;
}
