#pragma once
// Dynamic libraries loaded by path, and their symbols.
#include <string>
#include <string_view>

namespace platform {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library (a ".dll" name is taken as ".so"); false with
    // errorText() set when it cannot be loaded.
    bool load(std::string_view path);
    void unload();
    bool isLoaded() const { return m_handle != nullptr; }
    // nullptr when the symbol is missing (errorText() then says why).
    void* symbol(const char* name);
    template <typename Function>
    Function function(const char* name) { return reinterpret_cast<Function>(symbol(name)); }

    const std::string& errorText() const { return m_error; }

    // "x.dll" -> "x.so" (any case of ".dll"), backslashes -> "/".
    static std::string nativeName(std::string_view path);

private:
    void* m_handle = nullptr;
    std::string m_error;
};

}  // namespace platform
