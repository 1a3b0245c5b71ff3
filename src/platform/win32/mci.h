// The Windows backend's sound thread, which sends every MCI command string,
// and its test seam.
#pragma once

#include <cstddef>

// Carries out one MCI command string on the sound thread and returns MCI's
// result (0 when it succeeded); answer, when given, receives MCI's reply.
// Waits at most timeoutMs for the sound thread.
int sendMciCommand(const char* command, char* answer = nullptr, size_t answerSize = 0, unsigned timeoutMs = 0xFFFFFFFF);

// Tests record and answer the command strings instead of MCI: the hook gets
// each command on the sound thread, where mciSendStringA would, and returns
// its result. Null sends them to MCI again.
using MciSendHook = int (*)(const char* command);
void setMciSendHook(MciSendHook hook);
