#pragma once
// The readable classes of this folder, for the collection reader.

// Registers the image objects (169, 189) and the legacy OLE 1 item (999).
// The first image form (161) stays unreadable: it is never stored alone.
void RegisterImageTypes();
