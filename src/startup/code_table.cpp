/*
** The event code table. Only the rows this program can meet are held; the
** other rows of the family's shared table never match a code reported here.
*/
#include "startup/code_table.h"

namespace kv {
namespace {

using K = CaptionKind;

constexpr CodeRow kRows[] = {
    {0, K::Text, ""},
    {1, K::TextPath, "Запуск программы"},
    {9, K::TextTitle, "Закрытие программы"},
    {101, K::TextCount, ""},
    {107, K::Text, ""},
    {111, K::Text, ""},
    {112, K::Text, ""},
    {113, K::Text, ""},
    {120, K::TextCount, ""},
    {201, K::TextCount, ""},
    {202, K::TextCount, ""},
    {203, K::TextCount, ""},
    {204, K::TextCount, ""},
    {400, K::Text, ""},
    {410, K::Text, "Сервер Firebird отказал в регистрации пользователя"},
    {411, K::Text, "Сервер Firebird отказал в регистрации пользователя"},
    {420, K::Text, "Установка версии 7.00"},
    {421, K::Text, "Папка не удалена"},
    {422, K::Text, "Папка не создана"},
    {423, K::Text, "Папка не создана"},
    {424, K::Text, "Папка не создана"},
    {425, K::Text, "Не переписан файл"},
    {426, K::Text, "Версия 5.01 не прошла диагностику"},
    {427, K::Text, "Версия 7.00 не прошла диагностику"},
    {428, K::Text, ""},
    {429, K::Text, "Версия 7.00 установлена"},
    {430, K::Text, "Создание чистой базы"},
    {431, K::Text, "Папка не удалена"},
    {432, K::Text, "База не создалась"},
    {433, K::Text, "База не открылась"},
    {441, K::Text, ""},
    {442, K::Text, ""},
    {443, K::Text, ""},
    {444, K::Text, ""},
    {445, K::Text, ""},
    {446, K::Text, ""},
    {449, K::Text, "Чистая база создана"},
    {450, K::Text, ""},
    {491, K::Text, ""},
    {492, K::Text, ""},
    {493, K::Text, ""},
    {494, K::Text, ""},
    {495, K::Text, ""},
    {496, K::Text, ""},
    {499, K::TextTitle, "Закрытие программы"},
    {500, K::Text, ""},
    {510, K::Text, ""},
    {520, K::Text, ""},
    {530, K::Text, ""},
    {540, K::Text, ""},
    {801, K::TextCount, "Склад обновлён. №"},
    {802, K::Text, "Склад НЕ обновлён"},
    {810, K::TextCount, "База записана в файл. №"},
    {811, K::Text, "База НЕ записана в файл"},
    {812, K::TitleTextCount, "База извлечена. №"},
    {820, K::TextCount, "База записана на сайт. №"},
    {821, K::Text, "База НЕ записана на сайт"},
    {822, K::TextCount, "База записана в сетевую папку. №"},
    {823, K::Text, "База НЕ записана в сетевую папку"},
    {830, K::Text, "Необходимо провести обслуживание системы"},
    {831, K::Text, "Проведено обслуживание системы"},
    {832, K::Text, "Обслуживание системы НЕ проведено"},
    {999, K::Text, ""},
    {9901, K::DashCount, ""},
    {9902, K::DashCount, ""},
    {9903, K::DashCount, ""},
    {9904, K::DashCount, ""},
};

}  // namespace

std::span<const CodeRow> CodeTable() { return kRows; }

}  // namespace kv
