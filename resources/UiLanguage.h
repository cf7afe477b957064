#pragma once
// The language of the user interface: Korean ("ko", the texts of orlith.inf) or another
// language whose texts are in orlith.<code>.inf beside it (English, "en", ships too). A
// key that the chosen language's file lacks shows its English text.
#include <QString>

// The language a person asked for (--language, else the options' setting, else the
// locale: LC_ALL, LC_MESSAGES, LANG, the first that is set). Korean for "ko"; any other
// code, or none, is lower-cased and reduced to its language part ("en_US.UTF-8" is "en");
// "C" and "POSIX" are English.
QString ChooseUiLanguage(const QString& strOption, const QString& strSetting);
// The language for the rest of the process; Korean until it is set. Qt's own texts (the
// buttons of a question) follow it where a translation of Qt is installed.
void SetUiLanguage(const QString& strCode);
QString UiLanguage();
// The command line's --language, kept until the settings are read; then
// ApplyUiLanguage sets the language from it, the setting or the locale.
void SetUiLanguageOption(const QString& strOption);
void ApplyUiLanguage(const QString& strSetting);
// The strings file of a language: orlith.inf for Korean, orlith.<code>.inf otherwise.
QString StringsFileName(const QString& strCode);
// A text that the program itself holds rather than the strings file: the Korean one
// under Korean, the English one under any other language.
QString UiText(const QString& strKorean, const QString& strEnglish);
