// Interim: the save dialogue of the link window, replaced by the full flow.
