#include "testsupport/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

std::string makeTempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessaly-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder: " + pattern);
    return pattern + "/";
}

std::string g_sandbox;

void removeSandbox()
{
    std::error_code ec;
    if (!g_sandbox.empty())
        fs::remove_all(g_sandbox, ec);
}

}  // namespace

TempDir::TempDir() : m_path(makeTempFolder()) {}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

std::string TempDir::file(const std::string& name) const { return m_path + name; }

std::string TempDir::write(const std::string& name, const std::string& content) const
{
    const std::string path = file(name);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

void enterSandbox()
{
    if (!g_sandbox.empty())
        return;
    g_sandbox = makeTempFolder();
    std::atexit(removeSandbox);
    fs::create_directories(g_sandbox + "config");
    fs::create_directories(g_sandbox + "cache");
    fs::create_directories(g_sandbox + "data");
    ::setenv("TESSALY_MACHINE_HIVE", (g_sandbox + "machine.ini").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (g_sandbox + "config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (g_sandbox + "cache").c_str(), 1);
    // The user's own files (a pupil's saved tasks) stay in the sandbox too.
    ::setenv("XDG_DATA_HOME", (g_sandbox + "data").c_str(), 1);
    // Endpoints and named mutexes: the folder is made (mode 0700) on first use.
    ::setenv("TESSALY_IPC_DIR", (g_sandbox + "ipc").c_str(), 1);
}

const std::string& sandboxPath() { return g_sandbox; }

void resetHives()
{
    std::error_code ec;
    fs::remove(g_sandbox + "machine.ini", ec);
    fs::remove_all(g_sandbox + "config/Pelmarin", ec);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace testsupport
