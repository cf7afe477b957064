#pragma once
// The pen-gesture recogniser of the main view: a stroke over the day lists becomes a
// string of direction digits as on a numeric keypad ("6" right, "8" up, "4" left,
// "2" down), and a finished stroke's string is looked up among the gestures.
//
//     gesture.Start(ptDown);            // pen down on a row
//     gesture.Step(ptMove); ...         // pen moves
//     QString strStroke;
//     if (gesture.Finish(&strStroke))   // pen up
//         run GestureCommand(strStroke);
#include "platform/WinTypes.h"
#include <QString>
#include <array>

// A step must cover more than this many pixels to count.
constexpr int kGestureMinStep = 10;

// What a finished stroke asks for.
enum class EGesture {
    None,
    Open,            // "2"
    ToggleComplete,  // "6"
    Delete,          // "646"
    NewAppointment,  // "62"
    NewTask,         // "42"
};

class CPenGesture {
public:
    void Start(POINT pt);
    // Adds the direction of the move from the last step point when it is longer than
    // kGestureMinStep pixels; shorter moves add up until one is.
    void Step(POINT pt);
    // Ends the stroke; FALSE (and *pStroke unchanged) when no stroke was being tracked.
    BOOL Finish(QString* pStroke);

    BOOL IsTracking() const { return m_bTracking; }
    const QString& GetStroke() const { return m_strGesture; }

    // The direction digit of a move from ptFrom to ptTo ('6', '8', '4' or '2'), or 0
    // when the move is not longer than kGestureMinStep pixels. Screen y grows downwards.
    static char DirectionDigit(POINT ptFrom, POINT ptTo);

private:
    // Nothing is tracked before the first pen down, so pen moves and a pen up that
    // reach the view without a pen down on a row (hovering, dragging a list's scroll
    // strip) never make a gesture.
    BOOL m_bTracking = FALSE;
    POINT m_ptLast;
    QString m_strGesture;
};

// The strokes that are commands, with the key of the text that says what each does.
struct GestureStroke {
    EGesture gesture;
    const char* pszDirections;
    const char* pszMeaningKey;
};
const std::array<GestureStroke, 5>& GestureStrokes();

// The gesture an exact stroke string stands for; EGesture::None for any other string.
EGesture GestureCommand(const QString& strStroke);
