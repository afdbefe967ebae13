#include "exercise/exercise_panel.h"

#include <algorithm>

#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "exercise/exercise_messages.h"
#include "exercise/exercise_task_wnd.h"
#include "platform/fonts.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace exercise {

namespace xml = platform::xml;

namespace {

QColor panelColor()
{
    const shared::Rgb rgb = shared::GetThemeColor(1);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

CExercisePanel::CExercisePanel(QWidget* parent, IExerciseOwner* owner)
    : QWidget(parent),
      m_owner(owner),
      m_example(new CExerciseTaskWnd(this, NextChildId())),
      m_check(new QPushButton(QString::fromUtf8("Перевірити"), this)),
      m_editorPanel(new QPushButton(QString::fromUtf8("Панель редактора"), this)),
      m_scrollBar(new QScrollBar(Qt::Vertical, this)),
      m_font(platform::fonts::defaultGuiFont())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(m_font);
    m_example->hide();
    m_check->setObjectName("check");
    m_editorPanel->setObjectName("editorPanel");
    m_scrollBar->setSingleStep(2);
    m_scrollBar->setPageStep(20);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int position) { OnScroll(position); });
    connect(m_check, &QPushButton::clicked, this, [this] { OnCheck(); });
    connect(m_editorPanel, &QPushButton::clicked, this, [this] { OnEditorPanel(); });

    const shared::Rgb rgb = shared::GetThemeColor(1);
    m_statement.m_alignment = 2;
    m_statement.m_showGrid = false;
    m_statement.SetBackColor(platform::com::OLE_COLOR(rgb.red | (rgb.green << 8) | (rgb.blue << 16)));
}

CExercisePanel::~CExercisePanel()
{
    m_statement.RemoveAllItems();
}

void CExercisePanel::LayoutExercise(const std::optional<xml::Node>& working)
{
    m_rowsTop = 100;
    m_statement.RemoveAllItems();
    m_loaded = working.has_value();
    if (m_loaded) {
        if (const auto task = xml::selectSingle(*working, "TESTTASK")) {
            for (const xml::Node& node : task->childNodes()) {
                if (node.type() == xml::NodeType::Text) {
                    m_statement.AddText(QString::fromStdString(node.text()));
                } else if (node.type() == xml::NodeType::Element && node.localName() == "math") {
                    if (!m_statement.AddFormula(node.xml(), this))
                        break;
                }
            }
        }
        m_example->Statement().SetLexemText(xml::evaluateString(*working, "TASKS/EXAMPLE/EXAMPLETASK"));
        m_example->Answer().SetLexemText(xml::evaluateString(*working, "TASKS/EXAMPLE/EXAMPLEANSWER"));
        m_example->Answer().UseViewer();
        m_example->SetLightState(CExerciseTaskWnd::lightGreen);
        m_example->SetPreferredHeight(kRowHeight);
        m_example->show();
    }
    FillRows(working);
}

void CExercisePanel::FillRows(const std::optional<xml::Node>& working)
{
    if (working) {
        std::size_t index = 0;
        for (const xml::Node& task : xml::selectList(*working, "TASKS/TASK")) {
            if (index == m_rows.size())
                m_rows.push_back(new CExerciseTaskWnd(this, NextChildId()));
            CExerciseTaskWnd* row = m_rows[index++];
            row->Statement().SetLexemText(task.text());
            row->Answer().SetLexemText("");
            row->SetPreferredHeight(kRowHeight);
        }
    }
    Relayout();
    update();
}

int CExercisePanel::PlacedWidth() const
{
    return width() - (m_scrollShown ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0);
}

void CExercisePanel::Arrange()
{
    const int width = PlacedWidth();
    solvehost::CFontMetricsMeasurer measurer{QFontMetrics(m_font)};
    m_rowsTop = m_statement.Arrange(width, measurer, -m_scrollPos, true) + 20;
    Place(width);
}

void CExercisePanel::Place(int width)
{
    int y = m_rowsTop - m_scrollPos;
    for (CExerciseTaskWnd* row : m_rows) {
        const int h = std::max(row->GetPreferredHeight(), kMinRowHeight) + 5 + 5;
        row->setGeometry(20, y, width - 40, h);
        row->show();
        row->update();
        y += h;
    }
    m_check->setGeometry(width / 2 - 50, y + 20, 80, 30);
    m_editorPanel->setGeometry(width / 2 + 50, y + 20, 140, 30);
    const int exampleHeight = std::max(m_example->GetPreferredHeight(), kMinRowHeight);
    m_example->setGeometry(20, y + 70, width - 40, exampleHeight);
    m_contentHeight = exampleHeight + m_scrollPos + y + 100;
}

void CExercisePanel::Relayout()
{
    Arrange();
    int excess = m_contentHeight - height();
    if (excess > 0) {
        if (!m_scrollShown) {
            // The bar takes its room from the width the contents are placed for.
            m_scrollShown = true;
            Arrange();
            excess = std::max(m_contentHeight - height(), 0);
        }
        if (m_scrollPos > excess) {
            m_scrollPos = excess;
            Arrange();
        }
    } else {
        const bool moved = m_scrollPos > 0;
        m_scrollPos = 0;
        if (m_scrollShown || moved) {
            m_scrollShown = false;
            Arrange();
        }
        excess = 0;
    }
    const QSignalBlocker blocker(m_scrollBar);
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_scrollBar->setGeometry(width() - extent, 0, extent, height());
    m_scrollBar->setRange(0, excess);
    m_scrollBar->setValue(m_scrollPos);
    m_scrollBar->setVisible(m_scrollShown);
}

void CExercisePanel::OnScroll(int position)
{
    m_scrollPos = std::clamp(position, 0, m_scrollBar->maximum());
    Arrange();
    update();
}

void CExercisePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void CExercisePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), panelColor());
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    // The words' rectangles already carry the scroll offset the statement
    // was arranged at; the formulas are child controls and paint themselves.
    for (const auto* node = m_statement.Items().head; node; node = node->next) {
        if (node->kind != solvehost::LayoutItemKind::Text)
            continue;
        const auto* item = static_cast<const solvehost::CLayoutTextItem*>(node->item);
        if (solvehost::CFormulaTextLayout::IsSpaceItem(item->text) || item->text == "\n")
            continue;
        painter.drawText(QRect(item->left, item->top, item->Width(), item->Height()), Qt::TextWordWrap, item->text);
    }
}

void CExercisePanel::ShowLangMessage(const char* key)
{
    ShowExerciseMessage(shared::GetLangString(key), this, platform::MessageIcon::Warning);
}

void CExercisePanel::OnCheck()
{
    if (!m_loaded || m_rows.empty() || !m_owner)
        return;
    std::string request;
    for (CExerciseTaskWnd* row : m_rows) {
        solvehost::CSymbrantCtrl& statement = row->Statement();
        solvehost::CSymbrantCtrl& answer = row->Answer();
        const std::string answerText = answer.GetLexemText();
        const std::string statementText = statement.GetLexemText();
        if (answerText.empty())
            return ShowLangMessage("errNeedForm");
        if (!answer.IsFormulaValid())
            return ShowLangMessage("errFormInvalid");
        // The transformer mode gives the formulas their kernel form.
        statement.UseTransformer();
        answer.UseTransformer();
        request += "#((" + statement.GetAplanText() + "),(" + answer.GetAplanText() + "))";
        statement.UseViewer();
        statement.SetLexemText(statementText);
        answer.UseEditor();
        answer.SetLexemText(answerText);
    }
    request.erase(0, 1);
    std::string reply;
    if (!m_owner->ExecKernelRequest(m_owner->GetKernelCode(), request, reply))
        return ShowLangMessage("errInServer");
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        // The verdict of row i stands at 2·i; nothing past the reply is read.
        const std::size_t at = 2 * i;
        const char verdict = at < reply.size() ? reply[at] : '\0';
        int state = CExerciseTaskWnd::lightOff;
        switch (verdict) {
        case '0': state = CExerciseTaskWnd::lightRed; break;
        case '1': state = CExerciseTaskWnd::lightYellow; break;
        case '2': state = CExerciseTaskWnd::lightGreen; break;
        default: break;
        }
        m_rows[i]->SetLightState(state);
        m_rows[i]->repaint();
        if (state == CExerciseTaskWnd::lightOff)
            ShowLangMessage("errInServer");
    }
    ShowLangMessage("checkComplete");
}

void CExercisePanel::OnEditorPanel()
{
    if (!m_loaded || m_rows.empty())
        return;
    solvehost::CSymbrantCtrl& answer = m_rows.front()->Answer();
    // Exercises hold inequalities: the palette has less or equal and greater
    // or equal, which class 9 shows.
    answer.SetSchoolClass(9);
    if (!answer.ShowToolsDlg(""))
        answer.HideToolsDlg("");
}

}  // namespace exercise
