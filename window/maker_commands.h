// The maker's editing commands, installed into the card window at start.
#pragma once

class CCardDialog;

// Makes New, Open, Save, Save As, Import, Remove, Help, Exit and the close
// request work in every card window of this program.
void EnableMakerCommands();

// New's steps: ask to save, then clear the card. False when the user asked to
// save and the save did not happen: the card then stays as it is.
bool StartNewCard(CCardDialog& dialog);
