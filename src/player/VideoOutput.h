#pragma once
// How the picture reaches the screen on this machine.

enum class VideoOutput {
    None,     // no real windows: the engine plays without video
    OpenGL,   // libmpv draws with the graphics card through OpenGL
    Software, // libmpv converts frames on the processor, the toolkit shows them
};

// Decided once per engine: OpenGL where a graphics card renders it; Software where only a
// software rasterizer does, whose shaders cost several times the conversion done directly.
// KORVANTA_VIDEO_OUTPUT=opengl or software overrides the choice.
VideoOutput ChooseVideoOutput();
