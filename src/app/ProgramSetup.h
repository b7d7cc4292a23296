#pragma once

// What the program sets in Qt before its first window.

// Qt's own texts (file and print dialogs, the buttons of questions) in Japanese, through Qt's
// Japanese translation; dates and numbers in the Japanese locale. False when the translation is
// not installed.
bool installJapaneseTranslation();

// Maps the screens' Windows font names to the installed IPA fonts.
void installFontSubstitutes();

// The program's name, version and desktop entry, as the desktop and the version window show them.
void setProgramIdentity();
