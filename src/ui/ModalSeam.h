#pragma once
#include <QString>
#include <deque>
#include <vector>

class QWidget;

// Every modal question the program asks (message boxes, file dialogs) goes through here, so that
// tests can answer in advance and whole flows run without a person.
//
// Scripted mode (tests): nothing is shown. Each question is recorded and takes the next queued
// answer; with none queued a message box answers Cancel (OK when it only has OK) and a file
// dialog answers "" (cancelled).
// Normal mode: the message box of the resource folder (LAYOUT:SYS_XML_MSGBOX, else Qt's own) and
// Qt's file dialogs. On a platform without a screen (offscreen, minimal) nobody could answer, so
// the question is written to standard error and answered as in scripted mode.
class ModalSeam {
public:
    enum class Buttons { Ok, OkCancel };
    static constexpr int IdOk = 1;
    static constexpr int IdCancel = 2;

    static int MessageBox(QWidget* parent, const QString& text, const QString& caption, Buttons buttons);
    // filter in Qt's form, e.g. "mcr文件(mcr) (*.mcr)". Save asks before overwriting.
    static QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter);
    static QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter);

    struct Question {
        QString kind;  // "message", "open", "save"
        QString caption;
        QString text;  // message text or file filter
    };
    static void SetScripted(bool scripted);
    static bool IsScripted();
    static void QueueAnswer(int id);
    static void QueueFileName(const QString& path);
    // The questions asked since the last call, oldest first; clears the record.
    static std::vector<Question> TakeQuestions();
    // Forgets queued answers and recorded questions.
    static void Reset();
};
