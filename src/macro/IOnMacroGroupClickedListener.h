#pragma once
#include <string>

// Told when a row of the macro group list is clicked (and by the dialog itself when it moves the
// selection): the row and the group's name (UTF-8; empty when the caller has none at hand).
class IOnMacroGroupClickedListener {
public:
    virtual ~IOnMacroGroupClickedListener() = default;
    virtual void OnMacroGroupClicked(int row, const std::string& name) = 0;
};
