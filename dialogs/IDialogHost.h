#pragma once
// What the editors and sheets need of the main frame: the settings, the strings and the
// store. The main frame implements it; a dialog keeps the pointer while it lives.
struct AgendaSettings;
class IPOutlookApp;
class StringTable;

class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    virtual const AgendaSettings& GetSettings() const = 0;
    virtual const StringTable& GetStrings() const = 0;
    // Null when the store is not connected.
    virtual IPOutlookApp* GetOutlookApp() const = 0;
};
