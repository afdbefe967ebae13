// The control as hosts call it: by CLSID and dispid, events through the
// connection point, messages through the message-box service.
#include <QApplication>
#include <QClipboard>

#include "formula/control/tests/control_host.h"

namespace formula::control::test {
namespace {

std::int16_t raw(VARIANT_BOOL value)
{
    return rawValue(value);
}

using Dispatch = ControlHost;

TEST_F(Dispatch, RegisteredUnderTheClassIdAndProgId)
{
    EXPECT_FALSE(registeredLibrary(CLSID_Formavel).empty());
    CLSID clsid;
    ASSERT_EQ(clsidFromProgId(kFormavelProgId, &clsid), platform::S_OK);
    EXPECT_EQ(clsid, CLSID_Formavel);
    ComPtr<IDispatch> byProgId;
    ASSERT_EQ(createInstance(kFormavelProgId, byProgId), platform::S_OK);
    void* raw = nullptr;
    ASSERT_EQ(byProgId->QueryInterface(DIID__DFormavel, &raw), platform::S_OK);
    ComPtr<IDispatch>::adopt(static_cast<IDispatch*>(raw));
}

TEST_F(Dispatch, SetStateZeroEmptiesTheFormula)
{
    DispatchDriver control = createWindowless();
    control.setProperty(disp::LexemText, "a+b");
    control.invoke(disp::SetState, std::int16_t{2});
    EXPECT_EQ(control.getProperty<std::int16_t>(disp::State), 2);
    control.invoke(disp::SetState, std::int16_t{0});
    EXPECT_EQ(control.invoke<std::int16_t>(disp::GetState), 0);
    EXPECT_EQ(control.invoke<std::string>(disp::GetLexemText), "");
    control.setProperty(disp::LexemText, "c");
    control.setProperty(disp::State, std::int16_t{7});
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "");
}

TEST_F(Dispatch, AddLexemTwoShowsMessage1008AndAnswersFalse)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseEditor);
    control.invoke(disp::SetLanguge, 0);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::AddLexem, 2), VARIANT_FALSE);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Cannot add lexem. Unknown lexem type.");
    // A known code inserts and reports the change, TRUE as -1.
    events.clear();
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::AddLexem, 6)), -1);
    EXPECT_EQ(events, std::vector<std::string>{"1"});
    EXPECT_NE(control.getProperty<std::string>(disp::LexemText), "");
    // In viewer mode: TRUE and nothing changes.
    control.invoke(disp::UseViewer);
    const std::string before = control.getProperty<std::string>(disp::LexemText);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::AddLexem, 6)), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), before);
}

TEST_F(Dispatch, OptimalSizeWithoutWindowIsTenByTen)
{
    DispatchDriver control = createWindowless();
    control.setProperty(disp::LexemText, "x+y=5");
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    control.invoke(disp::GetOptimalSize, &cx, &cy);
    EXPECT_EQ(cx, 10);
    EXPECT_EQ(cy, 10);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetOptimalWidth), 10);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetOptimalHeight), 10);
}

TEST_F(Dispatch, OptimalSizeFollowsTheFormulaAndTheFontSize)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseViewer);
    control.setProperty(disp::LexemText, "x+y=5");
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    control.invoke(disp::GetOptimalSize, &cx, &cy);
    EXPECT_GT(cx, 40);
    EXPECT_GT(cy, 15);
    // The new font size shows in the very next optimal size.
    control.invoke(disp::SetDefultFontSize, 20, 40);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetDefaulFontWidth), 20);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetDefaultFontHeight), 40);
    EXPECT_GT(control.invoke<std::int32_t>(disp::GetOptimalHeight), cy);
    EXPECT_GT(control.invoke<std::int32_t>(disp::GetOptimalWidth), cx);
}

// The stock Font is the control's own font object: the caption is measured
// and drawn with it, a put copies the given font, a null put restores the default.
TEST_F(Dispatch, StockFontIsTheCaptionsFont)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::UseViewer);
    control.setProperty(disp::LexemText, "x+y=5");
    const std::int32_t bare = control.invoke<std::int32_t>(disp::GetOptimalHeight);
    control.setProperty(DISPID_CAPTION, "Розв'яжіть рівняння");
    const std::int32_t small = control.invoke<std::int32_t>(disp::GetOptimalHeight);
    EXPECT_GT(small, bare);

    const ComPtr<IDispatch> own = control.getProperty<ComPtr<IDispatch>>(DISPID_FONT);
    ASSERT_TRUE(own);
    EXPECT_EQ(control.getProperty<ComPtr<IDispatch>>(DISPID_FONT), own);
    DispatchDriver font(own);
    EXPECT_EQ(font.getProperty<std::string>(DISPID_FONT_NAME), "MS Sans Serif");

    // Changing the answered object changes the control's caption.
    font.setProperty(DISPID_FONT_SIZE, 24.0);
    const std::int32_t large = control.invoke<std::int32_t>(disp::GetOptimalHeight);
    EXPECT_GT(large, small + 20);

    // A put copies: the control keeps its own object, and later changes of
    // the given font do not reach it.
    const ComPtr<IDispatch> given = makeFont({"Times New Roman", 12.0, 700});
    control.setProperty(DISPID_FONT, given);
    EXPECT_EQ(control.getProperty<ComPtr<IDispatch>>(DISPID_FONT), own);
    EXPECT_EQ(font.getProperty<std::string>(DISPID_FONT_NAME), "Times New Roman");
    EXPECT_EQ(font.getProperty<VARIANT_BOOL>(DISPID_FONT_BOLD), VARIANT_TRUE);
    DispatchDriver(given).setProperty(DISPID_FONT_SIZE, 30.0);
    EXPECT_EQ(font.getProperty<double>(DISPID_FONT_SIZE), 12.0);

    // Something that is no font is refused and changes nothing.
    EXPECT_THROW(control.setProperty(DISPID_FONT, object), Error);
    EXPECT_EQ(font.getProperty<std::string>(DISPID_FONT_NAME), "Times New Roman");

    control.setProperty(DISPID_FONT, ComPtr<IDispatch>());
    EXPECT_EQ(font.getProperty<std::string>(DISPID_FONT_NAME), "MS Sans Serif");
    EXPECT_EQ(font.getProperty<double>(DISPID_FONT_SIZE), 8.0);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetOptimalHeight), small);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Dispatch, HostMayKeepTheFontAfterTheControlWent)
{
    ComPtr<IDispatch> control;
    ASSERT_EQ(createInstance(CLSID_Formavel, control), platform::S_OK);
    DispatchDriver font(DispatchDriver(control).getProperty<ComPtr<IDispatch>>(DISPID_FONT));
    control = nullptr;
    font.setProperty(DISPID_FONT_SIZE, 16.0);
    EXPECT_EQ(font.getProperty<double>(DISPID_FONT_SIZE), 16.0);
}

TEST_F(Dispatch, MessagesOutliveTheWindow)
{
    DispatchDriver control = createPlaced();
    control.invoke(disp::AddLexem, 2);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].parent, window);
    // The host destroys the window and keeps the control: messages have no
    // parent window now, never the one that went.
    parent.reset();
    control.invoke(disp::AddLexem, 2);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].parent, nullptr);
}

TEST_F(Dispatch, SchoolClassAndLanguage)
{
    DispatchDriver control = createWindowless();
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::SetSchoolClass, 9)), 1);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::SetSchoolClass, 12), VARIANT_FALSE);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::SetSchoolClass, 6), VARIANT_FALSE);

    control.invoke(disp::SetLanguge, 2);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetLanguage), 2);
    control.invoke(disp::SetLanguge, 5);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetLanguage), 0);
    // The language is the process's: a second control reads it too.
    DispatchDriver second;
    ComPtr<IDispatch> other;
    ASSERT_EQ(createInstance(CLSID_Formavel, other), platform::S_OK);
    second.attach(other);
    control.invoke(disp::SetLanguge, 1);
    EXPECT_EQ(second.invoke<std::int32_t>(disp::GetLanguage), 1);
    second.invoke(disp::SetLanguge, -1);
    EXPECT_EQ(control.invoke<std::int32_t>(disp::GetLanguage), 0);
    second.invoke(disp::UseEditor);
    second.invoke(disp::AddLexem, 99);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Cannot add lexem. Unknown lexem type.");
}

TEST_F(Dispatch, UndoRedoAndResultsChangeTheFormulaWithoutFormulaChanged)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseEditor);
    control.invoke(disp::AddLexem, 14);
    control.invoke(disp::AddLexem, 12);
    const std::string both = control.getProperty<std::string>(disp::LexemText);
    events.clear();
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::CanUndo)), 1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::Undo)), -1);
    EXPECT_NE(control.getProperty<std::string>(disp::LexemText), both);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::CanRedo)), 1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::Redo)), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), both);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::CanRedo), VARIANT_FALSE);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::Redo), VARIANT_FALSE);
    EXPECT_TRUE(events.empty());

    // An operation answered with an Aplan and with a lexeme result.
    control.setProperty(disp::LexemText, "2*x+3+4=7");
    control.invoke(disp::SetState, std::int16_t{3});
    events.clear();
    control.invoke(disp::SetOperationResult, false, "");
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::SetLexemOperationResult, false, "")), 1);
    EXPECT_TRUE(events.empty());
}

TEST_F(Dispatch, CopyAllAnswersFalseAlthoughItCopied)
{
    DispatchDriver control = createWindowless();
    control.setProperty(disp::LexemText, "a+b");
    QApplication::clipboard()->setText("old");
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::CopyAll), VARIANT_FALSE);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "a+b");
    control.setProperty(disp::LexemText, "c");
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::CutAll)), 1);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "c");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "c");
    // Without a selection object (mode 0) Copy answers FALSE.
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::Copy), VARIANT_FALSE);
}

TEST_F(Dispatch, EachMembersTrueValue)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseEditor);
    control.setProperty(disp::LexemText, "a+b");
    QApplication::clipboard()->setText("c");
    struct Case {
        int dispid;
        std::int16_t expected;
    };
    // In editor mode with a formula.
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::Copy)), -1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::Paste)), -1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::HideToolsDlg, "")), -1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::SetAplanText, "x+1")), 1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::AddTool, 3)), -1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::AddToolsGroup, 3)), -1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::IsFormulaValid)), 1);
    std::string aplan;
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::GetValidAplanText, &aplan)), 1);
    EXPECT_EQ(aplan, "x+!1");
    std::string pasted;
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::PasteAll, &pasted)), 1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::SetMathMLText,
                                               "<math><mi>y</mi></math>")), -1);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "y");
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1);
    EXPECT_EQ(raw(control.invoke<VARIANT_BOOL>(disp::IsFormulaValid)), -1);
    EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), "y");
    // Nothing selected: FALSE and the out value untouched.
    std::string selected = "kept";
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::GetSelectedLexemText, &selected), VARIANT_FALSE);
    EXPECT_EQ(selected, "kept");
}

TEST_F(Dispatch, CutAndDeleteSelectionNeedASelection)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseEditor);
    control.setProperty(disp::LexemText, "a+b");
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::DeleteSelection), VARIANT_FALSE);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::Cut), VARIANT_FALSE);
    events.clear();
    control.invoke(disp::Clear);
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "");
    EXPECT_EQ(events, std::vector<std::string>{"1"});
}

TEST_F(Dispatch, TextsFailWithTheReadersMessageAndFalse)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::SetLanguge, 0);
    events.clear();
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::SetAplanText, "a||b"), VARIANT_FALSE);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].text.empty());
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::SetMathMLText, "<math"), VARIANT_FALSE);
    EXPECT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(events.empty());
    control.setProperty(disp::LexemText, "a+b");
    EXPECT_EQ(events, std::vector<std::string>{"1"});
}

TEST_F(Dispatch, EliminateBracketsAfterAplanText)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseViewer);
    control.invoke(disp::SetAplanText, "(a+b)+c");
    const std::string kept = control.getProperty<std::string>(disp::LexemText);
    EXPECT_NE(kept.find('('), std::string::npos);
    control.setProperty(disp::EliminateBrackets, true);
    EXPECT_EQ(control.getProperty<VARIANT_BOOL>(disp::EliminateBrackets), VARIANT_TRUE);
    control.invoke(disp::SetAplanText, "(a+b)+c");
    EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), "a+b+c");
}

TEST_F(Dispatch, IncompleteAplanIsNeverValid)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseEditor);
    control.setProperty(disp::LexemText, "@sqrtcan$3$x#");
    messages.messages.clear();
    std::string aplan = "kept";
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::IsFormulaValid), VARIANT_FALSE);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(disp::GetValidAplanText, &aplan), VARIANT_FALSE);
    EXPECT_EQ(aplan, "kept");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Dispatch, TopLeftPositionAndGraphicFormulaChecks)
{
    DispatchDriver control = createWindowless();
    control.invoke(disp::UseViewer);
    struct Case {
        const char* text;
        std::int32_t flags;
        std::int32_t valid;
    };
    const Case cases[] = {
        {"A(1;2)", 0, 1},        {"A(1;2)", CF_POINT, 1},     {"A(1;2)", CF_AXIS_POINT, 0},
        {"A(3)", CF_AXIS_POINT, 1}, {"A(x)", CF_AXIS_POINT, 0}, {"y=2*x", 0, 0},
        {"L(y=2*x)", CF_EQUATION, 1}, {"L(2*x+1)", CF_EXPRESSION, 1}, {"L(2*x+1)", CF_EQUATION, 0},
        {"L(y=2*x)", 0, 1}, {"A ", CF_NAME_ONLY, 1},
        {"A", CF_NAME_ONLY, 0},    {"1(2)", 0, 0},
    };
    for (const Case& c : cases) {
        control.setProperty(disp::LexemText, c.text);
        EXPECT_EQ(control.invoke<std::int32_t>(disp::IsGraficFormulaValid, c.flags), c.valid)
            << c.text << " " << c.flags;
        EXPECT_EQ(control.invoke<std::int32_t>(disp::CheckGraphicFormulaValid, c.flags), c.valid);
    }
}

TEST_F(Dispatch, TransformerModeFlattensNestedUnions)
{
    DispatchDriver control = createWindowless();
    struct Case {
        const char* text;
        const char* transformed;
    };
    const Case cases[] = {
        // A union alone in a line of a system or a union gives way to its lines.
        {"@system$x=1$@union$y=2$y=3##", "@system$x=1$y=2$y=3#"},
        {"@union$x=1$@union$y=2$@union$z=3$z=4###", "@union$x=1$y=2$z=3$z=4#"},
        // A union in a line of the root itself stays.
        {"@union$x=1$x=2#", "@union$x=1$x=2#"},
    };
    for (const Case& c : cases) {
        control.invoke(disp::SetState, std::int16_t{1});
        control.setProperty(disp::LexemText, c.text);
        EXPECT_EQ(rawValue(control.invoke<VARIANT_BOOL>(disp::UseTransformer)), -1) << c.text;
        EXPECT_EQ(control.getProperty<std::string>(disp::LexemText), c.transformed) << c.text;
        EXPECT_EQ(control.getProperty<std::int16_t>(disp::State), 3);
    }
    // Deeper than the lines of the root's systems nothing is flattened.
    control.invoke(disp::SetState, std::int16_t{1});
    control.setProperty(disp::LexemText, "@system$x=1$@system$y=1$@union$a=1$a=2###");
    control.invoke(disp::UseTransformer);
    EXPECT_NE(control.getProperty<std::string>(disp::LexemText).find("@union$"), std::string::npos);
}

TEST_F(Dispatch, PropertiesPersistThroughTheBag)
{
    ComPtr<IPersistPropertyBag> first;
    ASSERT_EQ(createInstance(CLSID_Formavel, first), platform::S_OK);
    DispatchDriver control(first.as<IDispatch>());
    control.setProperty(disp::LexemText, "x-1");
    control.setProperty(disp::State, std::int16_t{3});
    control.setProperty(disp::BackColor, OLE_COLOR{0x00FF00});
    control.setProperty(disp::Locked, true);
    PropertyBag bag;
    ASSERT_EQ(first->Save(bag), platform::S_OK);
    ASSERT_GE(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].first, "LexemText");
    EXPECT_EQ(bag.entries()[1].first, "State");

    ComPtr<IPersistPropertyBag> second;
    ASSERT_EQ(createInstance(CLSID_Formavel, second), platform::S_OK);
    ASSERT_EQ(second->Load(bag), platform::S_OK);
    DispatchDriver loaded(second.as<IDispatch>());
    EXPECT_EQ(loaded.getProperty<std::string>(disp::LexemText), "x-1");
    EXPECT_EQ(loaded.getProperty<std::int16_t>(disp::State), 3);
    EXPECT_EQ(loaded.getProperty<OLE_COLOR>(disp::BackColor), 0x00FF00u);
    EXPECT_EQ(loaded.getProperty<OLE_COLOR>(DISPID_BACKCOLOR), 0x00FF00u);
    EXPECT_EQ(loaded.getProperty<VARIANT_BOOL>(disp::Locked), VARIANT_TRUE);
    ASSERT_EQ(second->InitNew(), platform::S_OK);
    EXPECT_EQ(loaded.getProperty<std::int16_t>(disp::State), 0);
    EXPECT_EQ(loaded.getProperty<VARIANT_BOOL>(disp::Locked), VARIANT_FALSE);
}

// Numbers side by side keep their value in every mode: the text the control
// writes reads back to the same formula, and the kernel gets the same text.
TEST_F(Dispatch, NumbersSideBySideKeepTheirValueInEveryMode)
{
    DispatchDriver control = createWindowless();
    DispatchDriver reader = createWindowless();
    reader.invoke(disp::UseViewer);
    struct Case {
        const char* text;
        const char* aplan;
        const char* transformedAplan;  // null: as in the other modes
    };
    const Case cases[] = {
        {"2(3)+1", "2(3)+!1", nullptr},
        {"x=12(3)", "x=!12(3)", nullptr},
        {"(2)3", "(2)3", nullptr},
        {"1 2", "1 2", nullptr},
        {"x=1 2", "x=!1 2", nullptr},
        {"2(@hor_frac$1$2#)", "2(1//2)", nullptr},
        // Brackets that keep nothing apart still go in transformer mode.
        {"2*(3)+1", "2*!(3)+!1", "2*!3+!1"},
    };
    struct Mode {
        int dispid;
        bool textFirst;
    };
    const Mode modes[] = {{disp::UseEditor, false}, {disp::UseViewer, false}, {disp::UseTransformer, false},
                          {disp::UseTransformer, true}};
    for (const Mode& mode : modes) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.text) + " mode " + std::to_string(mode.dispid) +
                         (mode.textFirst ? " text first" : " mode first"));
            control.invoke(disp::SetState, std::int16_t{1});
            control.setProperty(disp::LexemText, "x");
            if (mode.textFirst) {
                control.setProperty(disp::LexemText, c.text);
                control.invoke(mode.dispid);
            } else {
                control.invoke(mode.dispid);
                control.setProperty(disp::LexemText, c.text);
            }
            const bool transformer = mode.dispid == disp::UseTransformer;
            const std::string aplan = transformer && c.transformedAplan ? c.transformedAplan : c.aplan;
            EXPECT_EQ(control.invoke<std::string>(disp::GetAplanText), aplan);
            const std::string written = control.getProperty<std::string>(disp::LexemText);
            if (!transformer) {
                EXPECT_EQ(written, c.text);
            }
            reader.setProperty(disp::LexemText, written);
            EXPECT_EQ(reader.getProperty<std::string>(disp::LexemText), written);
            EXPECT_EQ(reader.invoke<std::string>(disp::GetAplanText), aplan);
        }
    }
}

}  // namespace
}  // namespace formula::control::test
