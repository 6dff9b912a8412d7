#pragma once
// Whether standard error is a terminal that can show a progress line: one rewritten in
// place with "\r" and "\033[K" (erase to the end of the line).

// True on a terminal; on Windows only on a console that takes those sequences (Windows
// 10 and later, where this turns them on).
bool StderrTakesProgressLine();
