#pragma once
// The settings of reminders, from the registry key of the program's options:
// "TaskReminderHour" (dword 0..23, default 9): the hour of its due day at which a task's
// reminder falls due (the store keeps only whether a task has a reminder).
constexpr int kDefaultTaskReminderHour = 9;

// The minute of the day a task's reminder falls due.
int ReadTaskReminderMinute();
