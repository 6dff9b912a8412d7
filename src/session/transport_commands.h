#pragma once
// The transport and seek commands of the menus, the keys, the panel and the web page,
// carried out by the playback engine's named operations. The engine knows no command
// numbers; the shells map theirs here.
#include <cstdint>

class TPlaybackEngine;

// Runs the command with that identifier (CM_PLAY, CM_PAUSE, CM_STOP, CM_PREVIOUS,
// CM_NEXT and the seek commands: 5 seconds back and forward, a frame back and forward,
// the segment's start and end). Returns false, doing nothing, for any other identifier.
bool RunTransportCommand(TPlaybackEngine& engine, int32_t commandId);
