#include "simulator/Options.h"

#include "simulator/Clipping.h"
#include "simulator/FaultSet.h"
#include "simulator/Presets.h"
#include "simulator/ValueText.h"

#include "dnx8_version.h"

#include <string_view>

namespace sim {

std::string ParseOptions(std::span<char* const> args, Options& options)
{
    options = Options();
    options.preset = std::string(DefaultPreset);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (i + 1 >= args.size())
            return "unknown option or missing value: " + std::string(arg);
        const std::string value = args[++i];
        if (arg == "--preset") {
            bool known = false;
            for (const Preset& p : Presets())
                known = known || p.name == value;
            if (!known)
                return "unknown preset: " + value;
            options.preset = value;
        } else if (arg == "--link") {
            options.link = value;
        } else if (arg == "--device") {
            options.device = value;
        } else if (arg == "--trace") {
            options.trace = value;
        } else if (arg == "--control") {
            options.control = value;
        } else if (arg == "--control-socket") {
            options.controlSocket = value;
        } else if (arg == "--baud") {
            auto baud = ParseInteger(value);
            if (!baud || *baud < 0 || *baud > 4000000)
                return "bad baud rate: " + value;
            options.baud = static_cast<unsigned>(*baud);
        } else if (arg == "--identity") {
            if (value.empty() || value.size() > 8 || value.find_first_of(" \t") != std::string::npos)
                return "identity is 1 to 8 characters without blanks";
            options.commands.push_back("identity " + value);
        } else if (arg == "-c" || arg == "--command") {
            options.commands.push_back(value);
        } else {
            return "unknown option: " + std::string(arg);
        }
    }
    if (!options.device.empty() && !options.link.empty())
        return "--link applies to the pseudo-terminal, not to --device";
    return {};
}

std::string HelpText()
{
    std::string text = R"(Usage: dnx8sim [options]

A stand-in for a DNX8 converter: answers the converter's serial protocol
from its own parameter memory, with live values, faults on demand and a
frame trace.

The first line on standard output is the path of the line the simulator
answers on (the pseudo-terminal it created, or the --device path); it is
flushed at once. The simulator runs until SIGINT, SIGTERM or the control
command quit, then removes the --link symlink and the control FIFO or
socket it created, and exits with status 0.

Options:
  --preset NAME          initial memory (default voltage); see Presets
  --link PATH            also make PATH a symlink to the pseudo-terminal
  --device PATH          answer on an existing serial device (raw 8N1, at
                         --baud or 9600) instead of a pseudo-terminal
  --trace FILE           write every frame to FILE, one line each, flushed
                         per line; see Trace
  --baud N               pace a pseudo-terminal like a serial line of N baud
                         (10 bits per byte): a reply starts when the request
                         would have arrived and its bytes leave one by one.
                         Default: unpaced, for fast tests
  --control PATH         read control lines from the FIFO PATH (made if
                         missing); output of get/dump goes to standard
                         output, errors to standard error
  --control-socket PATH  accept control lines on the unix stream socket PATH;
                         each line is answered with its output lines, then
                         "ok" or "error: MESSAGE"
  --identity TEXT        identity text instead of DNX8 (e.g. DNX7)
  -c, --command LINE     run a control line at start (repeatable, in order)
  -h, --help             this text
  --version              print the version (dnx8sim VERSION) and exit

Presets:
)";
    for (const Preset& p : Presets())
        text += "  " + std::string(p.name) + std::string(p.name.size() < 16 ? 16 - p.name.size() : 1, ' ') +
                std::string(p.description) + "\n";
    text += R"(  All presets: Identity DNX8, FirmwareVersion 0x0105 (1.05), SerialNumber
  240117, OutputType 0 (passive 4..20 mA), RelayOptions 3 (both relays);
  fresh leaves every other parameter 0. The others also hold Divider 1,
  Shunt 1, Filter 5, ErrorSignalling 0 (current: 1, under-current),
  Relay1 80 / 75, delays 2 / 2, hysteresis and Relay2 20 / 30, delays 0 / 5,
  window; pt100 and thermocouple-k hold the range, the polynomial and (for
  K) the four EmfRange pieces exactly as the tool writes them.

Protocol:
  A request with n = 0 reads a parameter; n = its size writes it, and the
  reply carries the value as stored. EmfRange (index 0..3 + 57 bytes) and
  Segment (index 0..19 + 20 bytes) take an index byte first and echo the
  stored block; they cannot be read. Commit takes one data byte and replies
  06 00 FA. Identity, FirmwareVersion, SerialNumber, OutputType,
  RelayOptions and the four live values are read-only. An unknown code, a
  size that fits neither read nor write, an index out of range, a write to
  a read-only parameter, a bad checksum and a request longer than 60 data
  bytes are all answered 15 EB (a bad checksum is answered, not ignored, so
  the tool fails at once instead of after its time-out). Bytes before a
  start byte 01 are skipped; a frame left incomplete for 100 ms is dropped.

Clipping (what a write stores; the reply shows it):
  InputType 0..15, CurveDegree 0..9, Filter 0..30, SegmentCount 0..20,
  ErrorSignalling 0..3: larger values store the largest valid one.
  Divider 1..10000, Shunt 0.001..10000 ohm, ScaleMin and ScaleMax
  -99999..99999: clamped.
  Relay mode 0..1: larger stores 1. EmfRange degree byte 0..12.
  Reals that are not finite (NaN, infinity) in Divider, Shunt, RangeMin,
  RangeMax, ScaleMin, ScaleMax and the relay values keep the stored value.
  CurveCoefficients and Segment blocks are stored bit for bit.

Live values (LiveInput, LiveProcess, LiveValue, LiveRatio):
  The input drifts as a sine of 120 s period over the middle 80 % of
  RangeMin..RangeMax. The process value is the input through the segment
  table when SegmentCount > 0, else for InputType 13..15 the temperature
  from the EmfRange pieces of input EMF plus the cold-junction EMF (the
  CurveCoefficients polynomial at 109.73 ohm, 25 C), else through the
  polynomial when CurveDegree > 0, else the input. The ratio is the process
  value's place between the process values at RangeMin and RangeMax; the
  value is that ratio over ScaleMin..ScaleMax. A pinned value feeds the
  later ones. A faulty value reads FF FF FF FF.

Faults (control: fault NAME MODE [MS] [PARAMETER]):
  silence   no reply
  nak       15 EB instead of the reply
  length    the reply with one extra 00 data byte (well formed)
  overlong  length byte 62 and 62 data bytes (more than 61: too long)
  checksum  checksum byte plus 1
  short     last byte (the checksum) left out
  garbage   00 FF 00 sent before the reply
  delay     reply held back MS milliseconds (default 300)
  MODE is on (until off), once, or a count of replies; PARAMETER limits the
  fault to replies to that parameter. Faults combine in the order above.

Control lines (--control, --control-socket, -c):
  set NAME [INDEX] VALUE...   store a value as given, without clipping;
                              one word per field: reals (decimal or 0x and
                              8 hex digits of the bit pattern), integers
                              (decimal or 0x hex), Identity as text;
                              Relay1/2: onValue offValue onDelay offDelay mode;
                              CurveCoefficients: c0..c9;
                              EmfRange I: d0..d12 lowerBound degree;
                              Segment I: a0 a1 a2 a3 x0
  get NAME [INDEX]            print one value ("fault" for a faulty live
                              value; Commit gives the commit count)
  live NAME follow|fault|NUMBER
                              a live value follows the configuration (also
                              "auto"), reads FF FF FF FF, or is pinned to NUMBER
  fault NAME on|once|COUNT [MS] [PARAMETER]
  fault NAME off              switch one fault off
  fault clear                 switch all faults off
  identity TEXT               identity text (up to 8 characters)
  preset NAME                 replace the memory with a preset
  dump [FILE]                 every parameter, live value and active fault,
                              one line each in the syntax of these commands
                              (following live values and the commit count
                              as # comments), to FILE or as output
  line close                  hang the pseudo-terminal up, as a pulled USB
                              adapter: the tool's reads and writes fail from
                              then on, the --link path is removed, a reply
                              under way is lost
  line open                   a new pseudo-terminal in place of a closed one
                              (a new path, given as output); --link points
                              at it. Both do nothing when the line is already
                              so, and are refused with --device
  ping                        do nothing (answers ok: a synchronisation point)
  quit                        exit as on SIGTERM
  Blank lines and lines starting with # are ignored. A change takes effect
  on the next request.

Trace (--trace FILE), one line per frame:
  SECONDS KIND BYTES   e.g. "0.012345 request 01 3E 01 07 B9"
  SECONDS since start with 6 decimals; KIND request (from the tool), reply
  (bytes put on the line, faults included; none for silence) or noise
  (bytes outside any frame); BYTES in upper-case hex.
)";
    return text;
}

std::string VersionText()
{
    return "dnx8sim " DNX8_VERSION_TEXT "\n";
}

} // namespace sim
