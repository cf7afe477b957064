#pragma once
// Where the PIM store lives: --store, else $XDG_DATA_HOME/quillday/pim.sqlite
// ($HOME/.local/share when XDG_DATA_HOME is unset); empty when neither is set.
#include <QString>

QString GetStorePath();
void SetStorePath(const QString& path);  // empty restores the default
