#include "platform/CScriptedMessageBox.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

namespace {

struct DefaultCase {
    unsigned type;
    int expected;
};

TEST(MessageBoxDefault, AnswersTheDefaultButtonOfEachType)
{
    const DefaultCase cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_ICONEXCLAMATION, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_RETRYCANCEL, IDRETRY},
    };
    for (const DefaultCase& c : cases)
        EXPECT_EQ(DefaultMessageBoxButton(c.type), c.expected) << std::hex << c.type;
}

TEST(MessageBoxDefault, WithoutHandlerWritesCaptionAndTextToStandardError)
{
    testing::internal::CaptureStderr();
    const int answer = MessageBox(QStringLiteral("Delete this item?"), QStringLiteral("Quillday"),
                                  MB_YESNO | MB_DEFBUTTON2);
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(text, "Quillday: Delete this item?\n");
}

TEST(ScriptedMessageBox, AnswersFromItsQueueAndRecordsEveryCall)
{
    {
        CScriptedMessageBox boxes({IDNO, IDCANCEL});
        EXPECT_EQ(MessageBox(QStringLiteral("one"), QStringLiteral("A"), MB_YESNO), IDNO);
        EXPECT_EQ(MessageBox(QStringLiteral("two"), QStringLiteral("B"), MB_OKCANCEL), IDCANCEL);
        EXPECT_EQ(MessageBox(QStringLiteral("three"), QStringLiteral("C"), MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
        ASSERT_EQ(boxes.Calls().size(), 3);
        EXPECT_EQ(boxes.Calls()[0].strText, QStringLiteral("one"));
        EXPECT_EQ(boxes.Calls()[1].strCaption, QStringLiteral("B"));
        EXPECT_EQ(boxes.Calls()[2].nType, MB_YESNOCANCEL | MB_DEFBUTTON3);
        EXPECT_EQ(boxes.Calls()[2].nAnswer, IDCANCEL);
        EXPECT_EQ(boxes.UnusedAnswers(), 0);
    }
    // Gone again: the default handler answers.
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(QStringLiteral("x"), QStringLiteral("y"), MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "y: x\n");
}

TEST(ScriptedMessageBox, NestedAnswerersRestoreTheirPredecessor)
{
    CScriptedMessageBox outer({IDYES});
    {
        CScriptedMessageBox inner({IDNO});
        EXPECT_EQ(MessageBox(QStringLiteral("inner"), QString(), MB_YESNO), IDNO);
    }
    EXPECT_EQ(MessageBox(QStringLiteral("outer"), QString(), MB_YESNO), IDYES);
    ASSERT_EQ(outer.Calls().size(), 1);
    EXPECT_EQ(outer.Calls()[0].strText, QStringLiteral("outer"));
}

}  // namespace
