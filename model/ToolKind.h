#pragma once

// The current tool of the drawing state, one byte that every open canvas reads
// through a pointer into the main window.
enum ToolKind : unsigned char {
  SelectTool = 0,
  MoveTool = 1,
  PipetteTool = 2,
  PenTool = 3,
  CircleTool = 4,
  RectTool = 5,
  RubberTool = 6,
  LineTool = 7,
};
