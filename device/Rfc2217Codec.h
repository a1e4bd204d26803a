#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

// The Telnet side of a serial device server with the COM port control
// option: escapes the data going out, takes Telnet commands out of the data
// coming in, answers the server's option negotiation and keeps the server's
// answers to the port settings. Pure: bytes in, bytes out, no socket.
class Rfc2217Codec {
public:
    static constexpr std::uint8_t Iac = 0xFF;
    static constexpr std::uint8_t Dont = 0xFE;
    static constexpr std::uint8_t Do = 0xFD;
    static constexpr std::uint8_t Wont = 0xFC;
    static constexpr std::uint8_t Will = 0xFB;
    static constexpr std::uint8_t Sb = 0xFA;
    static constexpr std::uint8_t Se = 0xF0;

    static constexpr std::uint8_t OptionBinary = 0;
    static constexpr std::uint8_t OptionEcho = 1;
    static constexpr std::uint8_t OptionSuppressGoAhead = 3;
    static constexpr std::uint8_t OptionComPort = 44;

    // COM port control commands from the client; the server answers each
    // with the same command plus ServerOffset.
    static constexpr std::uint8_t SetBaudRate = 1;
    static constexpr std::uint8_t SetDataSize = 2;
    static constexpr std::uint8_t SetParity = 3;
    static constexpr std::uint8_t SetStopSize = 4;
    static constexpr std::uint8_t SetControl = 5;
    static constexpr std::uint8_t ServerOffset = 100;

    // Values of SetParity, SetStopSize and SetControl.
    static constexpr std::uint8_t ParityNone = 1;
    static constexpr std::uint8_t StopBitsOne = 1;
    static constexpr std::uint8_t ControlNoFlow = 1;
    static constexpr std::uint8_t ControlDtrOff = 9;
    static constexpr std::uint8_t ControlRtsOff = 12;

    // What the client offers first: binary both ways (the converter's bytes
    // are not text), no go-aheads, and the COM port option.
    static std::vector<std::uint8_t> greeting();
    // Data with every 0xFF doubled, appended to out.
    static void escape(const std::uint8_t* data, std::size_t count, std::vector<std::uint8_t>& out);
    // IAC SB COM-PORT-OPTION command value IAC SE, the value escaped.
    static std::vector<std::uint8_t> comPortCommand(std::uint8_t command, const std::vector<std::uint8_t>& value);
    static std::vector<std::uint8_t> baudRateValue(std::uint32_t baud);

    // Takes bytes from the server: data goes to `data`, answers the server
    // must get go to `replies`.
    void receive(const std::uint8_t* bytes, std::size_t count, std::deque<std::uint8_t>& data,
                 std::vector<std::uint8_t>& replies);

    // The server agreed to (or refused) the COM port option.
    bool comPortAccepted() const { return local[OptionComPort] == State::Yes; }
    bool comPortRefused() const { return comPortRefusedByServer; }
    // The server's last answer to a command (SetBaudRate ...), if any.
    const std::vector<std::uint8_t>* answer(std::uint8_t command) const;
    // Whether the server ever answered the command with exactly this value
    // (SetControl is sent several times with different values).
    bool answered(std::uint8_t command, const std::vector<std::uint8_t>& value) const;

private:
    enum class State : std::uint8_t { No, WantYes, Yes };
    enum class Parse : std::uint8_t { Data, Command, Option, Sub, SubCommand };

    void negotiate(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& replies);
    void subnegotiation();

    // Our side (WILL/WONT) and the server's side (DO/DONT), per option.
    std::array<State, 256> local = initialLocal();
    std::array<State, 256> remote = initialRemote();
    bool comPortRefusedByServer = false;

    Parse parse = Parse::Data;
    std::uint8_t verb = 0;
    std::vector<std::uint8_t> sub;
    struct Answer {
        std::uint8_t command; // the client's command the server answers
        std::vector<std::uint8_t> value;
    };
    std::vector<Answer> answers; // in arrival order

    static std::array<State, 256> initialLocal();
    static std::array<State, 256> initialRemote();
};
