#pragma once

#include <QString>

#include <functional>

// Every message of the program goes through ShowMsg, in an application-modal box titled with
// the application title.
enum MessageKind {
    kMsgError = 1,         // stop icon, OK
    kMsgQuestion = 2,      // information icon, Yes and No
    kMsgInformation = 3,   // information icon, OK
    kMsgSaveQuestion = 4,  // warning icon, Save, Discard and Cancel: unsaved work about to go
    kMsgRiskyQuestion = 5, // warning icon, Yes and No with No the default: data about to go
};

// The button pressed, in the program's numbering.
enum MessageResult {
    kMsgNone = 0,
    kMsgOk = 1,
    kMsgCancel = 2, // of a save question: stay where the work is
    kMsgYes = 6,    // Yes, or Save of a save question
    kMsgNo = 7,     // No, or Discard of a save question
};

// The application title of every message box and the main window.
QString appTitle();

// Shows text and returns the button pressed; any other kind shows nothing and returns 0.
int ShowMsg(int kind, const QString& text);

// A plain box with only OK and the application title, for the few texts that carry no icon.
void showPlainMsg(const QString& text);

// Stands in for the message box while set: gets each message's kind (kMsgNone for a plain box)
// and text, and returns the button pressed. Tests answer the program's questions through it;
// empty for the real box.
using MessageAnswer = std::function<int(int kind, const QString& text)>;
void setMessageAnswer(MessageAnswer answer);

// Runs a screen's handler; an unexpected failure is reported as the handler's name, ":" and the
// error text in an error box. True when the handler ran to its end.
bool runReported(const QString& handler, const std::function<void()>& work);
