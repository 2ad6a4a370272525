// Writes the seed inputs of the fuzz targets into DIR/<target>/:
// projects, a radio image, an adjustment file and a configuration file as
// the program makes them, and the answers of a simulated radio to whole exchanges in the
// record format of fuzz_exchange.
//
//   vkt_fuzz_seeds fuzz/corpus
#include "exchange.h"
#include "file_io.h"
#include "simulated_radio.h"
#include "virtual_line.h"

#ifdef VKT_HAVE_APP_CONFIG
#include "app_config.h"
#endif

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vkt;
namespace fs = std::filesystem;

// Passes everything to the in-memory line and keeps, for every frame the
// program sends, the bytes it reads before sending the next one.
class RecordingLine : public SerialLine {
public:
    explicit RecordingLine(MemoryLine &inner) : inner_(inner) {}
    std::vector<std::vector<std::uint8_t>> replies;

    bool probe(int port) override { return inner_.probe(port); }
    bool open(int port) override { return inner_.open(port); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void purge() override { inner_.purge(); }
    void purgeReceive() override { inner_.purgeReceive(); }
    long bytesWaiting() override { return inner_.bytesWaiting(); }
    long read(std::uint8_t *buffer, std::size_t max) override
    {
        const long n = inner_.read(buffer, max);
        if (n > 0 && !replies.empty())
            replies.back().insert(replies.back().end(), buffer, buffer + n);
        return n;
    }
    bool write(const std::uint8_t *data, std::size_t size) override
    {
        replies.emplace_back();
        return inner_.write(data, size);
    }

private:
    MemoryLine &inner_;
};

bool Save(const fs::path &path, const void *data, std::size_t size)
{
    fs::create_directories(path.parent_path());
    const FileWriteResult r = WriteFileAtomic(path.string(), data, size);
    if (!r.ok)
        std::fprintf(stderr, "%s\n", r.error.c_str());
    return r.ok;
}

void SampleProject(ProgramState &s)
{
    SetDefaultAll(s);
    for (int ch : {1, 17, 240})
        MakeNewChannel(s.data, ch, 145000000 + 12500u * ch, s.limits);
    std::memcpy(s.data.channels[17].name, "SEED", 4);
    s.data.channels[1].encodeType = kToneDcsI;
    s.data.channels[1].encodeCode = 0x2813;
    s.data.channels[240].decodeType = kToneCtcss;
    s.data.channels[240].decodeCode = 885;
}

// Header bytes of fuzz_exchange for operation `op`, one port present, port 1.
std::vector<std::uint8_t> RecordExchange(std::uint8_t op, bool read)
{
    VirtualClock clock;
    VirtualTimers timers(clock);
    MemoryLine memory(clock);
    SimulatedRadio radio;
    ProgramState setup;
    SampleProject(setup);
    std::uint8_t r0 = 1;
    CodeplugImage image;
    GetDataForWrite(setup.data, setup.limits, image, ClockTime{2026, 1, 2, 3, 4}, [&] { return r0++; });
    std::memcpy(radio.memory().data(), image.bytes.data(), kConfigImageSize);
    memory.addPort(1, &radio);
    RecordingLine line(memory);

    auto state = std::make_unique<ProgramState>(setup);
    PortSelection ports;
    ports.AutoSeachPort = false;
    std::uint8_t r1 = 7;
    Exchange exchange(*state, ports, line, timers, [&] { return r1++; }, [] { return ClockTime{2026, 1, 2, 3, 4}; });
    static constexpr int kModes[] = {mode::kConfiguration, mode::kAdjustment, mode::kRadioPassword, mode::kStatus,
                                     mode::kAllWrite};
    exchange.ExchangeMode = kModes[op];
    exchange.ReadFromRadio = read;
    exchange.ProgramStartClick();
    RunExchange(exchange, timers, clock);
    if (exchange.outcome() != ExchangeOutcome::Success)
        std::fprintf(stderr, "the recorded exchange %d/%d did not succeed\n", op, int(read));

    std::vector<std::uint8_t> seed = {op, static_cast<std::uint8_t>((read ? 1 : 0) | (1 << 2))};
    while (!line.replies.empty() && line.replies.back().empty())
        line.replies.pop_back(); // the end frame has no answer
    for (const auto &reply : line.replies) {
        seed.push_back(2); // 2 ms after the frame
        seed.push_back(static_cast<std::uint8_t>(reply.size()));
        seed.insert(seed.end(), reply.begin(), reply.end());
    }
    return seed;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vkt_fuzz_seeds DIR\n");
        return 64;
    }
    const fs::path dir = argv[1];
    bool ok = true;

    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    ok &= Save(dir / "fuzz_project" / "default.Dvf", &state->data, kRadioDataSize);
    ok &= Save(dir / "fuzz_adjustment" / "default.Dvfa", &state->adjustment, kAdjustmentSize);

    SampleProject(*state);
    ok &= Save(dir / "fuzz_project" / "channels.Dvf", &state->data, kRadioDataSize);
    std::uint8_t r = 1;
    GetDataForWrite(state->data, state->limits, state->image, ClockTime{2026, 1, 2, 3, 4}, [&] { return r++; });
    ok &= Save(dir / "fuzz_image" / "channels.bin", state->image.bytes.data(), kConfigImageSize);

    struct Exchange {
        const char *name;
        std::uint8_t op;
        bool read;
    };
    for (const Exchange &e : {Exchange{"read", 0, true}, Exchange{"write", 0, false},
                              Exchange{"adjustment-read", 1, true}, Exchange{"adjustment-write", 1, false},
                              Exchange{"password-write", 2, false}, Exchange{"status-read", 3, true},
                              Exchange{"all-write", 4, false}}) {
        const auto seed = RecordExchange(e.op, e.read);
        ok &= Save(dir / "fuzz_exchange" / (std::string(e.name) + ".bin"), seed.data(), seed.size());
    }
#ifdef VKT_HAVE_APP_CONFIG
    IniFile ini;
    AppConfig().writeTo(ini, true);
    const std::string config = ini.text();
    ok &= Save(dir / "fuzz_config" / kConfigFileName, config.data(), config.size());
#endif
    return ok ? 0 : 1;
}
