#pragma once
// Maps the face names the program asks for onto fonts this machine has: "mirafon" to
// NanumGothic (then other Hangul faces), "Tahoma" to DejaVu Sans, "Lucida Console" to
// DejaVu Sans Mono. Call once after the QGuiApplication exists.
void InstallFontSubstitutions();
