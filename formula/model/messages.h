#pragma once
// Message texts of the formula control in English (language 0), Russian (1)
// and Ukrainian (2), by id 1000-1064 and the editor's 1069; any other id
// reads "Unknown message".
// The language is process-wide: every control of the process shares it.
#include <string_view>

namespace formula {

// Ids the model and the readers use by name.
namespace msg {
inline constexpr int WrongSyntax = 1011;
inline constexpr int TemplateStart = 1012;
inline constexpr int TemplateNameEnd = 1013;
inline constexpr int SeparatorMissing = 1014;
inline constexpr int SeparatorInLastArgument = 1015;
inline constexpr int LastArgumentEnd = 1016;
inline constexpr int MixedFracDigits = 1018;
inline constexpr int XmlLoad = 1019;
inline constexpr int MathMLTranslation = 1020;
inline constexpr int TooDeep = 1035;
inline constexpr int UnsupportedSymbol = 1036;
// The hint at the caret for a typed character a formula cannot hold.
inline constexpr int RefusedCharacter = 1069;
}  // namespace msg

inline constexpr int kMessageLanguages = 3;

// Sets the process-wide language; a language outside 0-2 falls back to 0.
void SetMessageLanguage(int language);
int GetMessageLanguage();

// The text of a message id in the current language, or in a given one.
std::string_view GetMessageText(int id);
std::string_view GetMessageText(int id, int language);

}  // namespace formula
