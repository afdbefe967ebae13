// The language files of the install tree, read as the programs read them:
// every key a program looks up is present and has a Ukrainian text.
#include <gtest/gtest.h>

#include "module_data.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace moduledata {
namespace {

struct KeySet {
    const char* file;
    const char* area;
    std::vector<const char*> keys;
};

const std::vector<KeySet>& keySets()
{
    static const std::vector<KeySet> sets = {
        {"stepwell.lng", "start-up, frame and guide bar",
         {"appTitle", "messageTitle", "needPerson", "guideBar", "guideHowtodoExt", "msgCloseTask", "erUnkTaskType",
          "erApplyTrans", "erUnknNewTask", "erSetCondition", "erNoConditionViewer", "erNoGuide", "erConfigRead",
          "erSolutionRead"}},
        {"stepwell.lng", "kernel binding", {"erKernelStart"}},
        {"stepwell.lng", "saving, exit and sibling programs",
         {"erTaskNotSent", "erTaskNotKept", "savedTaskName", "msgUnsentSteps", "erProgramNotInstalled"}},
        {"stepwell.lng", "menus",
         {"fileMenu", "fileSave", "filePrintVersion", "fileMenuExit", "viewMenu", "viewEditor", "viewGuide",
          "viewToolbar", "viewNumAxis", "viewExGuide", "viewAutoScroll", "viewStepScroll", "taskMenu", "taskNew",
          "taskSolveMode", "taskSmodeAuto", "taskSmodeIndep", "taskSmodeMixed", "solveMenu", "solveBegin",
          "solveContinue", "solveStepCheck", "solveStepExecute", "toolsMenu", "toolsCurvance", "toolsReckonry",
          "toolsCalc", "helpMenu", "helpLexivane", "helpMethodRecommend", "helpContent"}},
        {"stepwell.lng", "tool tips", {"tlSave", "tlBegin", "tlCheck", "tlStep", "tlAuto", "tlInd", "tlMixed", "tlHelp"}},
        {"stepwell.lng", "transformations",
         {"erEmptySel", "erNeedTrSelect", "erUndefConstant", "erFormulaInvalid", "confirmDeleteLastSteps",
          "msgSolveExprSimplify", "transformationExecute", "transformationReceive"}},
        {"stepwell.lng", "steps, beginning and answer",
         {"solve", "answer", "erCheckAnswer", "erStepNotFound", "stepDescrEdit", "msgSolveStart",
          "confirmDeleteSolution"}},
        {"stepwell.lng", "task dialogs",
         {"txtAddTitle", "txtAddDlg", "txtAddDlgBtnMathPanel", "txtBtnApply", "txtBtnCancel", "txtBtnOk",
          "txtNewTaskTitle", "txtNewTaskCondition", "txtNewTaskStartFormula", "txtMathPanel", "txtNewTaskInstME",
          "erEmptyCondition", "taskBFDlgTitle", "taskBFGroup", "taskBFEquation", "taskBFSystem", "taskBFAutoComplete",
          "taskBFShowAnim", "beginTaskEquation", "beginTaskSystem", "beginTaskUser", "beginTaskProg"}},
        {"stepwell.lng", "print view",
         {"versionPrint", "MenuPrintPreView", "fileMenuPrint", "fileMenuPrintPreView", "erPrintPage"}},
        {"stepwell.lng", "moves, modes and the begin dialog's refusal",
         {"msgSolveMoveTerm", "msgModeAfterStart", "beginTaskRefused"}},
        {"guide.lng", "guide captions",
         {"collapseAll", "expandAll", "apply", "howtodo", "favourites", "transformations", "graphsTr", "answers"}},
        {"reckonry.lng", "start-up, splash and guide",
         {"appTitle", "appTitle2", "splash_initclew", "splash_initguide", "splash_initother", "createMainFrame",
          "loadServer", "loadMenu", "guideBar", "guideHowtodoExt", "errGuideLoad", "erApplyTransEx"}},
        {"reckonry.lng", "kernel binding", {"erKernelStart"}},
        {"reckonry.lng", "task pages and dialogs",
         {"nameCondition", "nameAnswer", "defaultTaskName", "DlgNameTitle", "DlgExactTitle", "dlgOK", "dlgCancle",
          "ErTaskAdd", "ErINVALID", "ErExpr", "removeAsk"}},
        {"reckonry.lng", "menus",
         {"mnFile", "mnEdit", "mnView", "mnAction", "mnHelp", "fileSave", "menuExit", "menuUndo", "menuRedo",
          "menuCopy", "menuPaste", "menuNewTask", "menuRemoveTask", "menuExa\xD1\x81tCalc", "menuNotExa\xD1\x81tCalc",
          "menuStatusBar", "statusBar", "menuEditPanel", "menuInstrumentPanel", "menuHelp", "menuManual",
          "menuCalc"}},
        {"reckonry.lng", "tool tips", {"tlCalc", "tlNewTask", "tlRemoveTask", "tlCopy", "tlPaste", "tlHelp"}},
        {"reckonry.lng", "status prompts",
         {"sbmReady", "sbmCalc", "sbmNewTask", "sbmRemoveTask", "sbmInstrumentBar", "sbmExactCalc", "sbmNoExactCalc",
          "sbmUndo", "sbmRedo", "sbmCopy", "sbmPaste", "sbmHelp", "sbmToolBar", "sbmStatusBar", "sbmExit"}},
        {"exercise.lng", "drill",
         {"appTitle", "needPerson", "mnuFile", "mnuFileExit", "mnuExercise", "mnuExerciseRepeat", "mnuExerciseCheck",
          "mnuHelp", "mnuHelpAbout", "errNeedForm", "errFormInvalid", "errInServer", "checkComplete", "errPictures",
          "errPicture", "errLightState"}},
        {"exercise.lng", "kernel binding", {"erKernelStart"}},
    };
    return sets;
}

// A text in Ukrainian holds at least one Cyrillic letter (U+0400-U+04FF:
// UTF-8 lead bytes 0xD0-0xD3).
bool hasCyrillicLetter(std::string_view text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (lead >= 0xD0 && lead <= 0xD3 && (next & 0xC0) == 0x80)
            return true;
    }
    return false;
}

TEST(LanguageFiles, EveryKeyHasAUkrainianText)
{
    for (const KeySet& set : keySets()) {
        SCOPED_TRACE(std::string(set.file) + ", " + set.area);
        shared::CLanguageTable table;
        ASSERT_TRUE(table.Load(stagePath("kernel/data/lang/ua/") + set.file)) << table.LastError();
        for (const char* key : set.keys) {
            const std::string text = table.Get(key);
            EXPECT_FALSE(text.empty()) << key;
            EXPECT_TRUE(hasCyrillicLetter(text)) << key << ": " << text;
        }
    }
    EXPECT_FALSE(hasCyrillicLetter("System sign (Alt+S)"));
    EXPECT_TRUE(hasCyrillicLetter("Ґ"));
}

// The programs find their files by kind through the settings, on the stage.
TEST(LanguageFiles, FoundByProgramKind)
{
    installStage();
    for (int kind : {shared::LanguageFile::Stepwell, shared::LanguageFile::Guide, shared::LanguageFile::Reckonry,
                     shared::LanguageFile::Exercise}) {
        shared::CLanguageTable table;
        EXPECT_TRUE(table.Load(shared::CSettings::Instance().GetLanguageFilePath(kind))) << kind << table.LastError();
        EXPECT_GT(table.Size(), 5u);
    }
}

// The two keys of the solver's menu are spelled with the Cyrillic "с":
// the Latin spelling finds nothing.
TEST(LanguageFiles, SolverModeKeysKeepTheCyrillicLetter)
{
    shared::CLanguageTable table;
    ASSERT_TRUE(table.Load(stagePath("kernel/data/lang/ua/reckonry.lng")));
    EXPECT_EQ(table.Get("menuExa\xD1\x81tCalc"), "Точні обчислення");
    EXPECT_EQ(table.Get("menuNotExa\xD1\x81tCalc"), "Наближені обчислення");
    EXPECT_EQ(table.Get("menuExactCalc"), "");
    EXPECT_EQ(table.Get("dlgCancle"), "Скасувати");
}

}  // namespace
}  // namespace moduledata
