#include "sample_project.h"

#include "codeplug.h"

#include <cstring>
#include <memory>

namespace vkt {

namespace {

void Name(ChannelEntry &e, const char *name)
{
    std::memset(e.name, 0, sizeof e.name);
    std::memcpy(e.name, name, std::min(sizeof e.name, std::strlen(name)));
}

} // namespace

void MakeSampleProject(ProgramState &state)
{
    SetDefaultAll(state);
    RecomputeMaxOffsets(state.limits);
    RadioData &d = state.data;
    struct Sample {
        int channel;
        std::uint32_t rx, tx;
        std::uint16_t decode;
        std::uint8_t decodeType;
        std::uint16_t encode;
        std::uint8_t encodeType;
        const char *name;
    };
    const Sample samples[] = {
        {1, 145500000, 145500000, 0, kToneOff, 0, kToneOff, "CALL2M"},
        {2, 145600000, 145000000, 0, kToneOff, 885, kToneCtcss, "RPT 1"},
        {3, 433500000, 433500000, 0, kToneOff, 0, kToneOff, "CALL70"},
        {4, 439050000, 431450000, 670, kToneCtcss, 670, kToneCtcss, "RPT 2"},
        {5, 446006250, 446006250, 0x2813, kToneDcsN, 0x2813, kToneDcsN, "PMR 1"},
        {6, 462562500, 462562500, 0x2800 + 0754, kToneDcsI, 0x2800 + 0754, kToneDcsI, "\xC4\xE3\xBA\xC3"},
        {10, 156800000, 156800000, 0, kToneOff, 0, kToneOff, "MARINE"},
    };
    for (const Sample &s : samples) {
        MakeNewChannel(d, s.channel, s.rx, state.limits);
        ChannelEntry &e = d.channels[s.channel];
        e.txFreq = s.tx;
        e.decodeCode = s.decode;
        e.decodeType = s.decodeType;
        e.encodeCode = s.encode;
        e.encodeType = s.encodeType;
        Name(e, s.name);
    }
    SetPowerOf(d.channels[5], kPowerLow);
    SetWideOf(d.channels[5], false);
    d.fmMemories[0] = 87500000;
    d.fmMemories[1] = 101300000;
    SetAddressBookInUse(d, 1);
    d.addrBook[1].digitCount = 3;
    d.addrBook[1].digits[0] = 1;
    d.addrBook[1].digits[1] = 0;
    d.addrBook[1].digits[2] = 1;
    std::memcpy(d.addrBook[1].name, "BASE", 4);
}

void LoadSampleIntoRadio(SimulatedRadio &radio)
{
    auto state = std::make_unique<ProgramState>();
    MakeSampleProject(*state);
    std::uint8_t n = 0x5A;
    GetDataForWrite(state->data, state->limits, state->image, {2026, 1, 15, 9, 30}, [&n] { return n++; });
    std::memcpy(radio.memory().data(), state->image.bytes.data(), kConfigImageSize);
    // The image holds no firmware version; the radio's own text stays.
    const char *firmware = SimulatedRadio::kFirmwareVersionText;
    std::memcpy(radio.memory().data() + addr::kFirmwareVersion, firmware, std::strlen(firmware));
}

} // namespace vkt
