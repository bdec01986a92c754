#pragma once
// The windows every maker window is opened over: the main window, and the
// first-level dialog (a property dialog or a code window) that the editors
// and second-level windows disable while they are open.
constexpr int kMainWindow = 15;
constexpr int kDialogWindow = 63;
