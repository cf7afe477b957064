#pragma once
// The help sheet of the pen strokes: each stroke drawn as a small picture, from a dot where
// the pen goes down to an arrow where it lifts, beside what it does. Close (or Enter or
// Escape) ends it.
#include <QDialog>
#include <QImage>
#include <QString>
#include <QVector>

struct StrokeHelpEntry {
    QString strDirections;  // keypad digits: "6" right, "4" left, "8" up, "2" down
    QString strMeaning;
};

class CStrokeHelpDlg : public QDialog {
    Q_OBJECT
public:
    // The dialog takes its parent's size, as the program's other sheets do.
    CStrokeHelpDlg(const QString& strTitle, const QVector<StrokeHelpEntry>& entries, const QString& strClose,
                   QWidget* pParent);

    // The picture of one stroke, nSide pixels square.
    static QImage DrawStroke(const QString& strDirections, int nSide);
};
