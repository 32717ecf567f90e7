#include "functionbuttons.h"

#include "frmcalculator.h"

namespace {

constexpr FunctionButton kFunctionButtons[] = {
    {"cmdSin", u"Sin", u"Синус", u"SIN()", 0, 0},
    {"cmdCos", u"Cos", u"Косинус", u"COS()", 0, 1},
    {"cmdTan", u"Tan", u"Тангенс", u"TAN()", 0, 2},
    {"cmdcTan", u"Ctan", u"Котангенс", u"CTAN()", 0, 3},
    {"cmdSec", u"Sec", u"Секанс", u"SEC()", 0, 4},
    {"cmdCsec", u"Csec", u"Косеканс", u"CSEC()", 0, 5},
    {"cmdLog", u"Log", u"Логаритъм десетичен", u"LOG()", 0, 6},
    {"cmdLn", u"Ln", u"Логаритъм натурален", u"LN()", 0, 7},
    {"cmdExp", u"Exp", u"e на степен X", u"EXP()", 0, 8},
    {"cmdFut", u"S - F", u"Превръща фут в сантиметри", u"SFUT()", 0, 9},
    {"cmdaSin", u"aSin", u"Аркус Синус", u"ASIN()", 1, 0},
    {"cmdaCos", u"aCos", u"Аркус Косинус", u"ACOS()", 1, 1},
    {"cmdaTan", u"aTan", u"Аркус Тангенс", u"ATAN()", 1, 2},
    {"cmdaCtan", u"aCtn", u"Аркус Котангенс", u"ACTAN()", 1, 3},
    {"cmdaSec", u"aSec", u"Аркус Секанс", u"ASEC()", 1, 4},
    {"cmdaCSec", u"aCsc", u"Аркус Косеканс", u"ACSEC()", 1, 5},
    {"cmdSqr", u"", u"Корен квадратен", u"SQR()", 1, 6, IconCell::Sqr},
    {"cmdDeg", u"Deg", u"Преобразува радиани в градуси", u"DEG()", 1, 7},
    {"cmdFtoC", u"F - C", u"Преобразува градуси по Фаренхайт в градуси по Целзий", u"F-C()", 1, 8},
    {"cmdDuim", u"D - S", u"Превръща дюйм (инч) в сантиметри", u"SDUIM()", 1, 9},
    {"cmdHsin", u"HSin", u"Синус Хиперболичен", u"HSIN()", 2, 0},
    {"cmdHcos", u"HCos", u"Косинус Хиперболичен", u"HCOS()", 2, 1},
    {"cmdHtan", u"HTan", u"Тангенс Хиперболичен", u"HTAN()", 2, 2},
    {"cmdHCtan", u"HCtn", u"Котангенс Хиперболичен", u"HCTAN()", 2, 3},
    {"cmdHSec", u"HSec", u"Секанс Хиперболичен", u"HSEC()", 2, 4},
    {"cmdHCsec", u"HCsc", u"Косеканс Хиперболичен", u"HCSEC()", 2, 5},
    {"cmdPi", u"Pi", u"Числото Pi", u"PI", 2, 6},
    {"cmdRad", u"Rad", u"Преобразува градуси в радиани", u"RAD()", 2, 7},
    {"cmdCtoF", u"C - F", u"Преобразува градуси по Целзий в градуси по Фаренхайт", u"C-F()", 2, 8},
    {"cmdYard", u"Y - M", u"Превръща ярд в метри", u"METR()", 2, 9},
    {"cmdaHSin", u"aHSn", u"Аркус Синус Хиперболичен", u"AHSIN()", 3, 0},
    {"cmdaHcos", u"aHCs", u"Аркус Косинус Хиперболичен", u"AHCOS()", 3, 1},
    {"cmdaHtan", u"aHTn", u"Аркус Тангенс Хиперболичен", u"AHTAN()", 3, 2},
    {"cmdaHctan", u"aHCn", u"Аркус Котангенс Хиперболичен", u"AHCTAN()", 3, 3},
    {"cmdaHsec", u"aHSc", u"Аркус Секанс Хиперболичен", u"AHSEC()", 3, 4},
    {"cmdaHCsec", u"aHCs", u"Аркус Косеканс  Хиперболичен", u"AHCSEC()", 3, 5},
    {"cmdSum", u"Сума", u"Връща сумата от посочения ред от таблицата", u"SUM()", 3, 6},
    {"CmdDay", u"Дни", u"Показва брой дни от 31.12.1899 до посочена дата", u"DAY()", 3, 7},
    {"cmdMeter", u"Клм", u"Превръща мили в километри", u"KLM()", 3, 8},
    {"cmdMile", u"Миля", u"Превръща километри в мили", u"MIL()", 3, 9},
};

using Commands = CalculatorCommands;

constexpr Qt::KeyboardModifier kCtrl = Qt::ControlModifier;

constexpr CommandButton kCommandButtons[] = {
    {"cmdReadFile", u"Чете файл с формули", IconCell::Open, nullptr, &Commands::readFile,
     {Qt::Key_F3, QKeyCombination(kCtrl, Qt::Key_O)}},
    {"cmdNew", u"Нова таблица", IconCell::New, &frmCalculator::NewTable, nullptr,
     {QKeyCombination(kCtrl, Qt::Key_N)}},
    {"cmdSaveFile", u"Записва формулите във файл", IconCell::Save, nullptr, &Commands::saveFile,
     {Qt::Key_F2, QKeyCombination(kCtrl, Qt::Key_S)}},
    {"cmdInsert", u"Вмъква ред в таблицата", IconCell::Insert, &frmCalculator::InsertRow, nullptr,
     {QKeyCombination(kCtrl, Qt::Key_Insert)}},
    {"cmdDel", u"Изтрива ред", IconCell::Delete, &frmCalculator::DeleteRow, nullptr,
     {QKeyCombination(kCtrl, Qt::Key_Delete)}},
    {"cmdRecalc", u"Преизчислява всички редове", IconCell::Recalculate,
     &frmCalculator::Recalculate, nullptr, {Qt::Key_F5, Qt::Key_F9}},
    // Its tool tip is the print button's; a screen reader must tell the two apart.
    {"cmdDiagram", u"Печат на таблицата", IconCell::Diagram, nullptr, &Commands::diagram, {},
     u"Диаграма"},
    {"cmdPrint", u"Печат на таблицата", IconCell::Print, nullptr, &Commands::print,
     {QKeyCombination(kCtrl, Qt::Key_P)}},
    {"cmdHelp", u"Помощ", IconCell::Help, nullptr, &Commands::help, {Qt::Key_F1}},
};

}  // namespace

std::span<const FunctionButton> FunctionButtons() {
  return kFunctionButtons;
}
std::span<const CommandButton> CommandButtons() {
  return kCommandButtons;
}
const CommandButton kExitButton{"cmdExit", u"Изход", std::nullopt, &frmCalculator::Exit, nullptr,
                                {Qt::Key_Escape, QKeyCombination(kCtrl, Qt::Key_Q)}};
