// A look-up in the machine hive as the controls make them while a program
// starts: a class's library by its CLSID, in a hive holding the suite's
// component registrations.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/registry.h"

namespace {

namespace fs = std::filesystem;
namespace registry = platform::registry;

// A machine hive of 40 classes (class key, library, ProgID and its CLSID,
// its version-independent ProgID) and the suite's own key.
class MachineHive {
public:
    MachineHive()
    {
        m_folder = fs::temp_directory_path() / ("tessaly_registry_bench_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        const fs::path path = m_folder / "machine.ini";
        std::ofstream out(path);
        out << "; Tessaly registry hive\n\n[SOFTWARE\\Pelmarin\\Tessaly]\n\"InstallPath\"=\"/opt/tessaly/\"\n";
        for (int i = 0; i < 40; ++i) {
            const std::string clsid = clsidOf(i);
            const std::string progId = "Tessaly.Control" + std::to_string(i);
            out << "\n[SOFTWARE\\Classes\\CLSID\\" << clsid << "]\n@=\"" << progId << " Class\"\n";
            out << "\n[SOFTWARE\\Classes\\CLSID\\" << clsid << "\\InprocServer32]\n@=\"/opt/tessaly/kernel/bin/Control"
                << i << ".so\"\n\"ThreadingModel\"=\"Apartment\"\n";
            out << "\n[SOFTWARE\\Classes\\CLSID\\" << clsid << "\\ProgID]\n@=\"" << progId << ".1\"\n";
            out << "\n[SOFTWARE\\Classes\\" << progId << ".1\\CLSID]\n@=\"" << clsid << "\"\n";
            out << "\n[SOFTWARE\\Classes\\" << progId << "\\CLSID]\n@=\"" << clsid << "\"\n";
        }
        out.close();
        ::setenv("TESSALY_MACHINE_HIVE", path.c_str(), 1);
    }
    ~MachineHive()
    {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }

    static std::string clsidOf(int i)
    {
        char text[64];
        std::snprintf(text, sizeof text, "{5A1C%04X-0B3E-4C1D-9F2A-6E7D8C9B%04X}", i, 0x1000 + i);
        return text;
    }

private:
    fs::path m_folder;
};

void BM_MachineHiveClassLibrary(benchmark::State& state)
{
    static MachineHive hive;
    const std::string key = "SOFTWARE\\Classes\\CLSID\\" + MachineHive::clsidOf(37) + "\\InprocServer32";
    for (auto _ : state) {
        auto library = registry::readString(registry::Hive::Machine, key, "");
        benchmark::DoNotOptimize(library);
        if (!library)
            state.SkipWithError("the class is not in the hive");
    }
}
BENCHMARK(BM_MachineHiveClassLibrary);

}  // namespace
