// The window operations of a host whose window is a pixel buffer (the headless host, the X11
// player): the reference is a pixel-buffer one, and the picture reaches the screen whole, not
// area by area.
#pragma once

struct EngineHost;
struct Surface;

Surface* SoftWindowReference(EngineHost* host);
void SoftReleaseWindowReference(EngineHost* host, Surface* reference);
void SoftAreaPresented(EngineHost* host);
