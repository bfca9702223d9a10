#pragma once
#include <string>

// Message boxes over the main window (UTF-8 texts).
class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;
    // A message with a single OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // OK and Cancel; true only for OK.
    virtual bool AskOkCancel(const std::string& text, const std::string& caption) = 0;
};
