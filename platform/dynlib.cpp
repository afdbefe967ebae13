#include "platform/dynlib.h"

#include <dlfcn.h>

#include <utility>

#include "platform/paths.h"
#include "platform/text.h"

namespace platform {

DynamicLibrary::~DynamicLibrary() { unload(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(std::move(other.m_error))
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        unload();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

std::string DynamicLibrary::nativeName(std::string_view path)
{
    std::string out = paths::toSlashes(path);
    if (out.size() >= 4 && text::equalsIgnoreCase(std::string_view(out).substr(out.size() - 4), ".dll"))
        out.replace(out.size() - 4, 4, ".so");
    return out;
}

bool DynamicLibrary::load(std::string_view path)
{
    unload();
    m_error.clear();
    const std::string name = paths::resolve(nativeName(path));
    m_handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = ::dlerror();
        m_error = reason ? reason : ("cannot load " + name);
        return false;
    }
    return true;
}

void DynamicLibrary::unload()
{
    if (m_handle) {
        ::dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* DynamicLibrary::symbol(const char* name)
{
    if (!m_handle) {
        m_error = "library not loaded";
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(m_handle, name);
    if (!address) {
        const char* reason = ::dlerror();
        m_error = reason ? reason : (std::string("no symbol ") + name);
    }
    return address;
}

}  // namespace platform
