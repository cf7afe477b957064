// --lunar-to-solar: answers each Korean lunar date with its solar date and weekday, one
// line each, from the arguments or (with "-") from standard input. Needs no data files.
#include "app/CommandModes.h"

#include "app/CCommandLine.h"
#include "calendar/LunarDateText.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// A malformed line may be anything up to a whole file: the message shows its start only.
constexpr int kMaxEchoedCharacters = 40;

QString EchoOf(const QString& text)
{
    if (text.size() <= kMaxEchoedCharacters)
        return text;
    return text.left(kMaxEchoedCharacters) + QStringLiteral("... (%1 characters)").arg(text.size());
}

// Prints the answer for one date; false when the date was invalid or malformed.
bool AnswerOne(const QString& text)
{
    LunarAnswerKind kind = LunarAnswerKind::Solar;
    const QString answer = AnswerLunarDateText(text, &kind);
    std::printf("%s\n", answer.toUtf8().constData());
    std::fflush(stdout);
    if (kind == LunarAnswerKind::Malformed)
        std::fprintf(stderr, "quillday: '%s' is not a lunar date of the form YYYY-MM-DD or YYYY-MM-DDL\n",
                     EchoOf(text).toLocal8Bit().constData());
    return kind == LunarAnswerKind::Solar;
}

}  // namespace

int RunLunarToSolarMode(const CCommandLine& commandLine)
{
    bool bAllValid = true;
    if (commandLine.m_bLunarFromStdin) {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            bAllValid = AnswerOne(QString::fromLocal8Bit(line)) && bAllValid;
        }
    } else {
        for (const QString& date : commandLine.m_lunarDates)
            bAllValid = AnswerOne(date) && bAllValid;
    }
    return bAllValid ? 0 : 1;
}
