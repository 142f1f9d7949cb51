// The address-change request: built from arbitrary texts, then read back by
// the device side's parser (the simulator's), and the parser alone over the
// raw input. Input: a mode byte (as a signed char), then six chunks (a length
// byte and that many bytes): current address, user, password, new address,
// new netmask, new gateway.
//
// The request is read back exactly unless a text holds '@' or NUL. Nothing is
// escaped on the wire, so an '@' splits its field; a NUL ends the datagram
// for the device (the request's own terminator is a NUL), so the text cannot
// carry one. For those texts only the parser's own consistency is checked.

#include "fuzz_support.h"

#include "wire.h"

#include <optional>
#include <string>

namespace {

bool Clean(const std::string& text)
{
    return text.find('@') == std::string::npos && text.find('\0') == std::string::npos;
}

// Whatever the parser accepts is exactly one request: building it again gives
// the bytes it was read from, up to the first NUL.
void CheckParsed(std::string_view datagram)
{
    std::optional<ChangeRequest> parsed = ParseChangeRequest(datagram);
    if (!parsed)
        return;
    for (const std::string* f : { &parsed->current, &parsed->user, &parsed->password, &parsed->address,
             &parsed->netmask, &parsed->gateway })
        FUZZ_CHECK(Clean(*f));
    FUZZ_CHECK(parsed->mode == AddressMode::Static || parsed->mode == AddressMode::Dhcp);
    FUZZ_CHECK(BuildChangeRequest(*parsed) == datagram.substr(0, datagram.find('\0')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ExactBuffer raw({ reinterpret_cast<const char*>(data), size });
    CheckParsed(raw.view());

    fuzz::Input in(data, size);
    ChangeRequest request;
    request.mode = static_cast<AddressMode>(in.Byte() % 3);
    for (std::string* f : { &request.current, &request.user, &request.password, &request.address,
             &request.netmask, &request.gateway })
        *f = std::string(in.Chunk());

    const std::string text = BuildChangeRequest(request);
    const std::string ending = request.mode == AddressMode::Static ? "@0" : "@1@";
    FUZZ_CHECK(text.starts_with("STLG@"));
    FUZZ_CHECK(text.ends_with(ending));
    FUZZ_CHECK(text.size() == 5 + request.current.size() + request.user.size() + request.password.size()
            + request.address.size() + request.netmask.size() + request.gateway.size() + 5 + ending.size());

    // On the wire the text is followed by its NUL.
    std::string datagram = text;
    datagram.push_back('\0');
    fuzz::ExactBuffer sent(datagram);
    CheckParsed(sent.view());
    CheckParsed(text);

    const bool clean = Clean(request.current) && Clean(request.user) && Clean(request.password)
        && Clean(request.address) && Clean(request.netmask) && Clean(request.gateway);
    if (clean) {
        std::optional<ChangeRequest> back = ParseChangeRequest(sent.view());
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(back->current == request.current);
        FUZZ_CHECK(back->user == request.user);
        FUZZ_CHECK(back->password == request.password);
        FUZZ_CHECK(back->address == request.address);
        FUZZ_CHECK(back->netmask == request.netmask);
        FUZZ_CHECK(back->gateway == request.gateway);
        FUZZ_CHECK(back->mode == (request.mode == AddressMode::Static ? AddressMode::Static : AddressMode::Dhcp));
    }
    return 0;
}
