// At start-up: the copies a save that never finished left behind, told to the user.
#pragma once

// Names every kept copy of an unfinished in-place save with its document in one message;
// nothing when none.
void reportInterruptedSaves();
