#pragma once
// What the HTML drawer's source files share: the limits, the tokens a text is
// cut into, the items a line is laid out in, one pass's context and the
// helpers more than one of them uses.
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPair>
#include <QSet>
#include <QString>
#include <QVector>

#include "shared/html/html_drawer.h"

namespace shared {

namespace html_detail {

constexpr int kTabStop = 32;
constexpr int kMaxCount = 64;         // br=n and t=n
constexpr int kMaxSpan = 64;          // colspan and rowspan
constexpr int kMaxTableDepth = 16;    // nested tables
constexpr int kMaxColumns = 256;      // cells beyond are dropped
constexpr int kMaxRows = 4096;
constexpr int kMaxStyleDepth = 1024;  // deeper tags still apply but are not undone
constexpr int kMaxPicture = 2048;     // a picture's side in pixels

}  // namespace html_detail

struct CHtmlDrawer::Token {
    enum Kind { Text, Open, Close, Tab, Break } kind = Text;
    QString name;  // tag name, lower case
    QString text;  // a run's text
    int count = 1;
    QVector<QPair<QString, QString>> attributes;  // names lower case, values without quotes

    QString attribute(const QString& key, bool* found = nullptr) const
    {
        for (const auto& [name, value] : attributes) {
            if (name == key) {
                if (found)
                    *found = true;
                return value;
            }
        }
        if (found)
            *found = false;
        return {};
    }
};

struct CHtmlDrawer::Item {
    enum Kind { Text, Rule, Picture, ListImage } kind = Text;
    int x = 0;  // from the line's left
    int width = 0;
    int height = 0;
    int ascent = 0;
    QString text;
    QFont font;
    HtmlStyle style;
    int link = -1;
    QImage picture;
    bool icon = false;
    unsigned flags = 0;
    bool useMask = false;
    QColor mask;
    int listIndex = 0;
    QColor ruleColour;
    int ruleThickness = 0;
};

struct CHtmlDrawer::Context {
    struct State {
        HtmlStyle style;
        int link = -1;  // the running index of the link the runs belong to
    };
    QPainter* painter = nullptr;
    QVector<Token> tokens;
    State state;
    QVector<State> stack;
    HtmlLengthUnits units;
    int bodyHeight = 0;
    int linkCounter = 0;
    int depth = 0;
    bool measuring = false;  // the measuring pass records the tables
};

namespace html_detail {

using Token = CHtmlDrawer::Token;

// A count (br=n, t=n, colspan, rowspan): 1 when unreadable, else 0 to kMaxCount.
int ReadCount(const QString& text);
QVector<Token> Tokenize(const QString& text, bool controlCharacters);
// The tags whose close takes back the style their open set.
const QSet<QString>& ContainerTags();
void ApplyTableAttributes(HtmlStyle& style, const Token& token, const HtmlLengthUnits& units);
// The style's font, from cache when it was made before.
QFont FontFor(QHash<QString, QFont>& cache, const HtmlStyle& style);

}  // namespace html_detail

}  // namespace shared
