// The configuration file reader and writer on arbitrary bytes: nothing may
// crash, and what is written must read back as the same values.
#include "app_config.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vkt::IniFile ini;
    ini.parse(std::string(reinterpret_cast<const char *>(data), size));
    vkt::AppConfig config;
    config.readFrom(ini);
    config.writeTo(ini, true);

    vkt::IniFile again;
    again.parse(ini.text());
    vkt::AppConfig back;
    back.readFrom(again);
    if (!(back == config))
        __builtin_trap();
    return 0;
}
