#pragma once
// The XDG base folders: the variable when it holds an absolute path, else the fallback
// under $HOME (".config", ".local/share"). Empty when neither is known (HOME unset or not
// an absolute path): the caller must not fall back on the root folder.
#include <QString>

QString XdgConfigHome();
QString XdgDataHome();
