#pragma once

#include <QString>

// The program's version, set once in the top CMakeLists.txt: what `talo --version`, the splash
// and the about box show, and what the desktop's metainfo announces.
namespace ProgramVersion
{

// "3.0c"
QString number();
// "Talo 3.0c"
QString text();

} // namespace ProgramVersion
