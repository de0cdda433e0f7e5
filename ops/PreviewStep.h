#pragma once
// The animation step that every preview shares (ops/PreviewFrames.cpp), for
// a preview that shows frames it keeps instead of computing them again.

// 0 to 3: the step the next frames will show.
int currentPreviewStep();
// Moves on as computing the frames would; GUI thread only.
void advancePreviewStep();
