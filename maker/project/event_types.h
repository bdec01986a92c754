#pragma once
// The nine event types of object scripts in the program's fixed order, the
// order every event list and event-type list uses, with their built-in icons.

struct ScriptEventType {
  const char* name;
  int icon;
};

inline constexpr ScriptEventType kScriptEventTypes[] = {
    {"Creation", 105},   {"Destroy", 111},  {"Step", 107},
    {"End step", 108},   {"Collision", 106}, {"Room start", 112},
    {"Room end", 113},   {"Animation end", 110}, {"Draw", 109},
};
