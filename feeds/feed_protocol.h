// The protocols a feed listens to, their names as the user gives them, and what --listen
// names: a protocol, an optional address and an optional port.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class FeedProtocol { ddp, sacn, artnet, flaschen };

const char* protocolName(FeedProtocol protocol);
int defaultPort(FeedProtocol protocol);

struct ListenSpec {
    FeedProtocol protocol = FeedProtocol::ddp;
    std::string address = "127.0.0.1";  // numeric IPv4 or IPv6, without brackets
    int port = 0;
};

// "PROTOCOL[=ADDRESS][:PORT]", an IPv6 address in brackets ("sacn=[::1]:5568"). Returns
// nothing, with the reason in `error`, for anything else.
std::optional<ListenSpec> parseListenSpec(std::string_view text, std::string& error);
