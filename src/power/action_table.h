#pragma once

#include <span>

#include "power/action_kind.h"

namespace tarvo {

// Everything Tarvo shows and says about one of its five actions, and the request it makes. The
// window's controls are named here (their objectName), so the window builds and finds them from
// this table instead of switching over the actions.
struct ActionRow {
    ActionKind kind;
    const char* word;        // the action word, ActionLabel ("Ausschalten")
    const char* buttonName;  // the large picture button that selects it
    const char* captionName; // the label under that button, showing the word
    const char* optionName;  // the hidden option button that holds the selection
    const char* picture;     // the button's pictures: action_PICTURE_grey and action_PICTURE_colour
    const char* buttonTip;   // the button's tooltip
    const char* heading;     // the countdown panel's heading
    const char* nowCaption;  // the caption of the button that carries the action out at once
    const char* question;    // asked before carrying it out at once; CR CR makes an empty line
    const char* accessibleName;        // what a screen reader calls the picture button
    const char* accessibleDescription; // and what it says choosing it does
    PowerCode code;
    PowerCode forcedCode;    // the code when the force box is ticked
};

// The five rows in the order the selection is tested, shut down first; the index of a row is
// static_cast<int>(its kind).
std::span<const ActionRow> actionTable();
const ActionRow& actionRow(ActionKind action);

// The action whose word is the given text, or none.
const ActionRow* actionRowByWord(const QString& word);

// The question asked before carrying the action named by actionLabel out at once; a word the table
// does not know gets the general question. CR CR makes an empty line.
QString immediateQuestion(const QString& actionLabel);

} // namespace tarvo
