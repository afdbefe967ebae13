#include <gtest/gtest.h>

#include "formula/model/errors.h"
#include "formula/model/messages.h"

namespace formula {
namespace {

class MessagesTest : public ::testing::Test {
protected:
    void TearDown() override { SetMessageLanguage(0); }
};

TEST_F(MessagesTest, TextsByLanguage)
{
    EXPECT_EQ(GetMessageText(1003, 0), "Cannot activate Editor.");
    EXPECT_EQ(GetMessageText(1003, 1), "Не удалось акивировать редактор.");
    EXPECT_EQ(GetMessageText(1003, 2), "Не вдалось активувати редактор.");
    EXPECT_EQ(GetMessageText(1014, 1), "Синтаксическая ошибка:\nне найден символ \"разделитель аргументов шаблона\"");
    EXPECT_EQ(GetMessageText(1000, 0), "Drop Target registrtion failed. Drag&Drop operation will be unavailable.");
    EXPECT_EQ(GetMessageText(1064, 2), "Arcctg");
}

TEST_F(MessagesTest, EveryIdHasATextInEveryLanguage)
{
    for (int language = 0; language < kMessageLanguages; ++language) {
        for (int id = 1000; id <= 1064; ++id) {
            EXPECT_NE(GetMessageText(id, language), "Unknown message") << id << " " << language;
            EXPECT_FALSE(GetMessageText(id, language).empty()) << id << " " << language;
        }
    }
}

TEST_F(MessagesTest, UnknownIdsAndLanguages)
{
    for (int id : {999, 1065, 1066, 1067, 1068, 2003, 0, -1}) {
        for (int language = 0; language < kMessageLanguages; ++language) {
            EXPECT_EQ(GetMessageText(id, language), "Unknown message") << id;
        }
    }
    EXPECT_EQ(GetMessageText(1003, 3), "Unknown message");
}

TEST_F(MessagesTest, ProcessWideLanguageFallsBackToEnglish)
{
    SetMessageLanguage(2);
    EXPECT_EQ(GetMessageLanguage(), 2);
    EXPECT_EQ(GetMessageText(1011), "Синтаксична помилка.");
    EXPECT_EQ(CMEException(3, 1011).Message(), "Синтаксична помилка.");
    SetMessageLanguage(7);
    EXPECT_EQ(GetMessageLanguage(), 0);
    EXPECT_EQ(GetMessageText(1011), "Syntax error: wrong syntax.");
    SetMessageLanguage(-1);
    EXPECT_EQ(GetMessageLanguage(), 0);
}

TEST_F(MessagesTest, ExceptionCarriesCodeAndText)
{
    const CMEException error(5, 1036);
    EXPECT_EQ(error.Code(), 5);
    EXPECT_EQ(error.MessageId(), 1036);
    EXPECT_EQ(error.Message(), "Unsupported symbol found");
}

}  // namespace
}  // namespace formula
