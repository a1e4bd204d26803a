#include "device/Rfc2217Codec.h"

namespace {

// Subnegotiations longer than this are not COM port answers; they are
// dropped rather than collected without bound.
constexpr std::size_t MaxSubnegotiation = 64;

} // namespace

std::array<Rfc2217Codec::State, 256> Rfc2217Codec::initialLocal()
{
    std::array<State, 256> states{};
    states[OptionBinary] = State::WantYes;
    states[OptionComPort] = State::WantYes;
    return states;
}

std::array<Rfc2217Codec::State, 256> Rfc2217Codec::initialRemote()
{
    std::array<State, 256> states{};
    states[OptionBinary] = State::WantYes;
    states[OptionSuppressGoAhead] = State::WantYes;
    return states;
}

std::vector<std::uint8_t> Rfc2217Codec::greeting()
{
    return {Iac, Will, OptionBinary, Iac, Do, OptionBinary, Iac, Do, OptionSuppressGoAhead,
            Iac, Will, OptionComPort};
}

void Rfc2217Codec::escape(const std::uint8_t* data, std::size_t count, std::vector<std::uint8_t>& out)
{
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(data[i]);
        if (data[i] == Iac)
            out.push_back(Iac);
    }
}

std::vector<std::uint8_t> Rfc2217Codec::comPortCommand(std::uint8_t command, const std::vector<std::uint8_t>& value)
{
    std::vector<std::uint8_t> out{Iac, Sb, OptionComPort, command};
    escape(value.data(), value.size(), out);
    out.push_back(Iac);
    out.push_back(Se);
    return out;
}

std::vector<std::uint8_t> Rfc2217Codec::baudRateValue(std::uint32_t baud)
{
    return {static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
            static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)};
}

const std::vector<std::uint8_t>* Rfc2217Codec::answer(std::uint8_t command) const
{
    for (auto it = answers.rbegin(); it != answers.rend(); ++it)
        if (it->command == command)
            return &it->value;
    return nullptr;
}

bool Rfc2217Codec::answered(std::uint8_t command, const std::vector<std::uint8_t>& value) const
{
    for (const Answer& a : answers)
        if (a.command == command && a.value == value)
            return true;
    return false;
}

void Rfc2217Codec::receive(const std::uint8_t* bytes, std::size_t count, std::deque<std::uint8_t>& data,
                           std::vector<std::uint8_t>& replies)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        switch (parse) {
        case Parse::Data:
            if (b == Iac)
                parse = Parse::Command;
            else
                data.push_back(b);
            break;
        case Parse::Command:
            if (b == Iac) {
                data.push_back(Iac);
                parse = Parse::Data;
            } else if (b == Will || b == Wont || b == Do || b == Dont) {
                verb = b;
                parse = Parse::Option;
            } else if (b == Sb) {
                sub.clear();
                parse = Parse::Sub;
            } else {
                parse = Parse::Data; // NOP, GA, break and the like carry nothing for us
            }
            break;
        case Parse::Option:
            negotiate(verb, b, replies);
            parse = Parse::Data;
            break;
        case Parse::Sub:
            if (b == Iac)
                parse = Parse::SubCommand;
            else if (sub.size() < MaxSubnegotiation)
                sub.push_back(b);
            break;
        case Parse::SubCommand:
            if (b == Iac) {
                if (sub.size() < MaxSubnegotiation)
                    sub.push_back(Iac);
                parse = Parse::Sub;
            } else {
                // IAC SE ends it; any other command after IAC ends it too.
                subnegotiation();
                parse = Parse::Data;
            }
            break;
        }
    }
}

// Option negotiation after RFC 1143: answer only a change of state, so two
// sides that disagree never loop. We take binary and suppress-go-ahead, and
// offer the COM port option; anything else (an echo above all, which would
// hand our own requests back as replies) is refused.
void Rfc2217Codec::negotiate(std::uint8_t how, std::uint8_t option, std::vector<std::uint8_t>& replies)
{
    auto reply = [&replies, option](std::uint8_t answer) {
        replies.insert(replies.end(), {Iac, answer, option});
    };
    const bool wantLocal = option == OptionBinary || option == OptionSuppressGoAhead || option == OptionComPort;
    const bool wantRemote = option == OptionBinary || option == OptionSuppressGoAhead;
    State& mine = local[option];
    State& theirs = remote[option];
    switch (how) {
    case Do:
        if (mine == State::WantYes)
            mine = State::Yes;
        else if (mine == State::No) {
            mine = wantLocal ? State::Yes : State::No;
            reply(wantLocal ? Will : Wont);
        }
        break;
    case Dont:
        if (option == OptionComPort)
            comPortRefusedByServer = true;
        if (mine == State::Yes)
            reply(Wont);
        mine = State::No;
        break;
    case Will:
        if (theirs == State::WantYes)
            theirs = State::Yes;
        else if (theirs == State::No) {
            theirs = wantRemote ? State::Yes : State::No;
            reply(wantRemote ? Do : Dont);
        }
        break;
    case Wont:
        if (theirs == State::Yes)
            reply(Dont);
        theirs = State::No;
        break;
    default:
        break;
    }
}

void Rfc2217Codec::subnegotiation()
{
    // Only the answers to the settings we send; line and modem state
    // notifications say nothing we use. Bounded against a chatty server.
    if (sub.size() < 2 || sub[0] != OptionComPort || sub[1] <= ServerOffset ||
        sub[1] > ServerOffset + SetControl || answers.size() >= 64)
        return;
    answers.push_back({static_cast<std::uint8_t>(sub[1] - ServerOffset),
                       std::vector<std::uint8_t>(sub.begin() + 2, sub.end())});
}
