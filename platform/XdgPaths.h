#pragma once
// The XDG base folders: the variable when it holds an absolute path, else the fallback
// under $HOME (".config", ".local/share").
#include <QString>

QString XdgConfigHome();
QString XdgDataHome();
