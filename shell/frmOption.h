#pragma once
// The options dialog. It exists only while it is shown; the hotkey dispatch drops every
// hotkey while it does.
class TOptionForm;
extern TOptionForm* OptionForm;
