#pragma once

#include <QString>

#include <functional>

// Every message of the program goes through ShowMsg, in an application-modal box titled with
// the application title.
enum MessageKind {
    kMsgError = 1,       // stop icon, OK
    kMsgQuestion = 2,    // information icon, Yes and No
    kMsgInformation = 3, // information icon, OK
};

// The button pressed, in the program's numbering.
enum MessageResult {
    kMsgNone = 0,
    kMsgOk = 1,
    kMsgYes = 6,
    kMsgNo = 7,
};

// The application title of every message box and the main window.
QString AppTitle();

// Shows text and returns the button pressed; any other kind shows nothing and returns 0.
int ShowMsg(int kind, const QString& text);

// A plain box with only OK and the application title, for the few texts that carry no icon.
void ShowPlainMsg(const QString& text);

// Runs a screen's handler; an unexpected failure is reported as the handler's name, ":" and the
// error text in an error box. True when the handler ran to its end.
bool RunReported(const QString& handler, const std::function<void()>& work);
