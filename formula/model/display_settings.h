#pragma once
// What the lexemes read from the environment that owns their tree. For now
// the correction flag (bracket elimination and sign correction while
// normalising) and the mode; the layout code adds fonts, colours, pens and the
// font stack, and the formula environment derives from this class.
#include <cstdint>

namespace formula {

enum class FormulaMode : int { None = 0, Viewer = 1, Editor = 2, Transformer = 3 };

// A colour as Windows stores it: 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b)
{
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

class CDisplaySettings {
public:
    virtual ~CDisplaySettings() = default;

    bool CorrectionOn() const { return m_correction; }
    void SetCorrection(bool on) { m_correction = on; }
    FormulaMode Mode() const { return m_mode; }
    void SetMode(FormulaMode mode) { m_mode = mode; }

private:
    bool m_correction = true;
    FormulaMode m_mode = FormulaMode::None;
};

}  // namespace formula
