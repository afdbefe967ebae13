#pragma once
// The drill's start: Qt's texts in Ukrainian, the command line, the settings
// and language table, the logged-in user, the pictures, then the main window.
#include <memory>
#include <string>

namespace exercise {

class CExerciseFrame;

class CExerciseApp {
public:
    // Runs the start for a whole command line; the shown main window, or
    // none when the start ended (each end shows its message).
    std::unique_ptr<CExerciseFrame> InitInstance(const std::string& commandLine);

    const std::string& GetInstallPath() const { return m_installPath; }
    const std::string& GetLanguage() const { return m_language; }

private:
    bool LoadResources();
    void LoadPictures();

    std::string m_installPath;
    std::string m_language;
};

}  // namespace exercise
