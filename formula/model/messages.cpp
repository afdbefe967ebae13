// The message table of the control (UTF-8). Data table: exempt from the usual
// file size.
#include "formula/model/messages.h"

#include <atomic>
#include <iterator>

namespace formula {
namespace {

struct MessageRow {
    int id;
    std::string_view text[kMessageLanguages];
};

constexpr MessageRow kMessages[] = {
    {1000, {"Drop Target registrtion failed. Drag&Drop operation will be unavailable.",
            "Не удалось инициализировать Drag&Drop.\nПоэтому нельзя будет воспользоваться этой возможностью.",
            "Не вдалось провести ініціалізацію для операцій Drag&Drop\nУ зв'язку з цим не можна буде переміщувати вирази у формулі."}},
    {1001, {"Cannot start the component for Aplan input. SetAplanText will be unavailable.",
            "Не удалось запустить компонент ввода текста Aplan.\nМетод SetAplanText будет недоступен.",
            "Не вдалося запустити компонент введення тексту Aplan.\nМетод SetAplanText буде недоступний."}},
    {1002, {"Cannot activate Viewer.", "Не удалось активировть просмотрщик", "Не вдалось активувати переглядач."}},
    {1003, {"Cannot activate Editor.", "Не удалось акивировать редактор.", "Не вдалось активувати редактор."}},
    {1004, {"Unknown template", "Неизвестный шаблон.", "Невизначений шаблон."}},
    {1005, {"Unknown operation in SetOperationResult: res=",
            "Неизвестная операция при установке результата. Результат=",
            "Невизначена операція при встановленні результату перетворення. Результат="}},
    {1006, {"Unknown error.", "Неизвестная ошибка.", "Невідома помилка."}},
    {1007, {"Cannot set top left position of the formula bacause of the reference point is not a top left point.",
            "Не могу установить верхнюю левую позицию формулы\nпоскольку точка отсчета не является верхней левой.",
            "Помилка при встановленні позиції редактора."}},
    {1008, {"Cannot add lexem. Unknown lexem type.", "Не могу вставить лексему. Неизвестный тип.",
            "Неможливо вставити лексему. Невизначений тип."}},
    {1009, {"Cannot rebuild tree.", "Не могу перестроить дерево.", "Не вдалося перебудувати дерево."}},
    {1010, {"Error: Maybe, wrong syntax.", "Ошибка: возможно неверный синтаксис.",
            "Помилка: можливо, невірний синтаксис."}},
    {1011, {"Syntax error: wrong syntax.", "Синтаксическая ошибка.", "Синтаксична помилка."}},
    {1012, {"Syntax error: the template must start from left template symbol.",
            "Синтаксическая ошибка:\nшаблон должен начинаться с символа начала шаблона.",
            "Синтаксична помилка:\nшаблон повинен прчинатись із символа початку шаблону."}},
    {1013, {"Syntax error: not found end of the template name.",
            "Синтаксическая ошибка: не найдено окончание имени шаблона.",
            "Синтаксична помилка: не знайдено кінець ім'я шаблону."}},
    {1014, {"Syntax error: separation symbol not found.",
            "Синтаксическая ошибка:\nне найден символ \"разделитель аргументов шаблона\"",
            "Синтаксична помилка: очікується символ \"роздільник шаблону\"."}},
    {1015, {"Syntax error: separation symbol found, expected end of template symbol.",
            "Синтаксическая ошибка: ожидается символ конца шаблона, найден символ разделитель аргументов.",
            "Синтаксична помилка: очікується символ кінця шаблону, знайдено роздільник шаблону."}},
    {1016, {"Syntax error: not found end of the last argument. Expected end of template.",
            "Синтаксическая ошибкаr: ожидается аргумент шаблона, найден символ конца шаблона.",
            "Синтаксична помилка: не знайдено кінець останнього аргументу шаблона. Очікується символ кінця шаблону."}},
    {1017, {"Error when creating mixed frac.", "Ошибка при создании смешанной дроби.",
            "Помилка при створені мішаного дробу."}},
    {1018, {"Error: mixed frac must contain only digits.", "Ошибка: смешанная дробь должна содержать только цифры.",
            "Помилка: мішаний дріб повинен містити лише цифри."}},
    {1019, {"Error when loading XML Document. It may be not formated in a right way.",
            "Ошибка при загрузке XML документа. Возможно он сформирован неверно.",
            "Помилка при завантаженні XML документу. Можливо він невірно відформатованій."}},
    {1020, {"Unknown error during translating MathML to internal syntax.",
            "Ошибка перевода из MathML во внутренний синтаусис.",
            "Помилка при переведенні MathML у внутрішній синтаксис."}},
    {1021, {"Syntax error: lost closing bracket.", "Синтаксическая ошибка: утеряна закрывающая скобка.",
            "Синтаксична помилка: втрачена закриваюча дужка."}},
    {1022, {"Syntax error: lost openning bracket.", "Синтаксическая ошибка: утеряна открывающая скобка.",
            "Синтаксична помилка: втрачена відкриваюча дужка."}},
    {1023, {"Horizontal bar", "Горизонтальная черта деления", "Горизонтальна риска ділення"}},
    {1024, {"Mixed number", "Смешанная дробь", "Мішаний дріб"}},
    {1025, {"Simple fraction", "Обыкновенная дробь", "Звичайний дріб"}},
    {1026, {"Index", "Индекс", "Індекс"}},
    {1027, {"Power", "Степень", "Степінь"}},
    {1028, {"System sign", "Знак системы", "Знак системи"}},
    {1029, {"Union sign", "Знак совокупности", "Знак об'єднання"}},
    {1030, {"Round brackets", "Круглые скобки", "Круглі дужки"}},
    {1031, {"Absolute sign", "Знак абсолютной величины", "Знак модуля"}},
    {1032, {"Less or equivalent", "Меньше или равно", "Меньше або дорівнює"}},
    {1033, {"More or equivalent", "Больше или равно", "Більше або дорівнює"}},
    {1034, {"The formula has been copied to the clipboard", "Формула скопирована в буфер обмена",
            "Формулу скопійовано до буферу обміну"}},
    {1035, {"Cannot insert lexeme. There are too many enbaded levels.",
            "Нельзя добавить лексему. Слишком большой уровень вложености.",
            "Не можна вставити лексему. Занадто високий рівень вкладеності."}},
    {1036, {"Unsupported symbol found", "Найден недопустимый символ", "Знайдено недопустимий символ"}},
    {1037, {"Not equal", "Не равно", "Не дорівнює"}},
    {1038, {"Infinity sign", "Знак бесконечности", "Знак нескінченності"}},
    {1039, {"Unite", "Объединение", "Об'єднання"}},
    {1040, {"Intersect", "Пересечение", "Перетин"}},
    {1041, {"Corner", "Угол", "Кут"}},
    {1042, {"Degree", "Градусы", "Градус"}},
    {1043, {"Perpenicular", "Перпендикуляр", "Перпендикуляр"}},
    {1044, {"Empty set", "Пустое множество", "Пуста множина"}},
    {1045, {"Plus/minus", "Плюс/минус", "Плюс/мінус"}},
    {1046, {"Double arrow", "Двойная стрелка", "Подвійна стрілка"}},
    {1047, {"=>", "=>", "=>"}},
    {1048, {"<=", "<=", "<="}},
    {1049, {"Belongs", "Принадлежит", "Належить"}},
    {1050, {"Not belongs", "Не принадлежит", "Не належить"}},
    {1051, {"Symbrant", "Математический редактор", "Математичний редактор"}},
    {1052, {"Square root", "Квадратный корень", "Квадратний корінь"}},
    {1053, {"Real", "Вся числовая ось", "Вся числова вісь"}},
    {1054, {"Progression member", "Член прогресии", "Член прогресії"}},
    {1055, {"Logical Yes", "Логическое Да", "Логічне Так"}},
    {1056, {"Logical No", "Логическое Нет", "Логічне Ні"}},
    {1057, {"Sin", "Sin", "Sin"}},
    {1058, {"Cos", "Cos", "Cos"}},
    {1059, {"Tg", "Tg", "Tg"}},
    {1060, {"Ctg", "Ctg", "Ctg"}},
    {1061, {"Arcsin", "Arcsin", "Arcsin"}},
    {1062, {"Arccos", "Arccos", "Arccos"}},
    {1063, {"Arctg", "Arctg", "Arctg"}},
    {1064, {"Arcctg", "Arcctg", "Arcctg"}},
};

// Messages of the editor after the tool tips' ids (1065-1068 stay without
// text).
constexpr MessageRow kEditorMessages[] = {
    {1069, {"This character cannot be used in a formula", "Этот символ нельзя использовать в формуле",
            "Цей символ не можна використати у формулі"}},
};

constexpr int kFirstId = 1000;
constexpr std::string_view kUnknownMessage = "Unknown message";

// The table is dense: row i holds id 1000 + i.
constexpr bool TableIsDense()
{
    for (std::size_t i = 0; i < std::size(kMessages); ++i) {
        if (kMessages[i].id != kFirstId + static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(TableIsDense());

std::atomic<int> g_language{0};

}  // namespace

void SetMessageLanguage(int language)
{
    g_language = (language >= 0 && language < kMessageLanguages) ? language : 0;
}

int GetMessageLanguage()
{
    return g_language;
}

std::string_view GetMessageText(int id)
{
    return GetMessageText(id, g_language);
}

std::string_view GetMessageText(int id, int language)
{
    if (language < 0 || language >= kMessageLanguages) {
        return kUnknownMessage;
    }
    const int index = id - kFirstId;
    if (index >= 0 && index < static_cast<int>(std::size(kMessages))) {
        return kMessages[index].text[language];
    }
    for (const MessageRow& row : kEditorMessages) {
        if (row.id == id) {
            return row.text[language];
        }
    }
    return kUnknownMessage;
}

}  // namespace formula
