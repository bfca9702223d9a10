#include "ui/ModalSeam.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

#include "ui/UiMessageBox.h"
#include "ui/UiResources.h"

namespace {
bool g_scripted = false;
std::deque<int> g_answers;
std::deque<QString> g_fileNames;
std::vector<ModalSeam::Question> g_questions;

bool NobodyCanAnswer() {
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

// Answers from the queue; true when the question must not be shown.
bool Scripted(const ModalSeam::Question& q) {
    if (g_scripted) {
        g_questions.push_back(q);
        return true;
    }
    if (NobodyCanAnswer()) {
        std::fprintf(stderr, "kbdconf: %s: %s (no screen to ask on; answered no)\n", q.caption.toUtf8().constData(),
                     q.text.toUtf8().constData());
        return true;
    }
    return false;
}
}  // namespace

void ModalSeam::SetScripted(bool scripted) { g_scripted = scripted; }
bool ModalSeam::IsScripted() { return g_scripted; }
void ModalSeam::QueueAnswer(int id) { g_answers.push_back(id); }
void ModalSeam::QueueFileName(const QString& path) { g_fileNames.push_back(path); }

std::vector<ModalSeam::Question> ModalSeam::TakeQuestions() {
    std::vector<Question> out;
    out.swap(g_questions);
    return out;
}

void ModalSeam::Reset() {
    g_answers.clear();
    g_fileNames.clear();
    g_questions.clear();
}

int ModalSeam::MessageBox(QWidget* parent, const QString& text, const QString& caption, Buttons buttons) {
    const int fallback = buttons == Buttons::Ok ? IdOk : IdCancel;
    if (Scripted({"message", caption, text})) {
        if (!g_scripted || g_answers.empty()) return fallback;
        const int answer = g_answers.front();
        g_answers.pop_front();
        return answer;
    }
    if (const UiResources* res = UiResources::Current(); res && res->Has("LAYOUT:SYS_XML_MSGBOX")) {
        UiMessageBox box(parent);
        if (box.Setup(*res, text, caption, buttons)) {
            const int result = box.DoModal();
            return result == IdOk ? IdOk : IdCancel;
        }
    }
    const auto answer = QMessageBox::warning(parent, caption, text,
                                             buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel);
    return answer == QMessageBox::Ok ? IdOk : IdCancel;
}

namespace {
QString ScriptedFileName() {
    if (!g_scripted || g_fileNames.empty()) return {};
    QString path = g_fileNames.front();
    g_fileNames.pop_front();
    return path;
}
}  // namespace

QString ModalSeam::OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
    if (Scripted({"open", caption, filter})) return ScriptedFileName();
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString ModalSeam::SaveFileName(QWidget* parent, const QString& caption, const QString& filter) {
    if (Scripted({"save", caption, filter})) return ScriptedFileName();
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}
