#pragma once
// One place that makes every stored object class readable. Whoever reads
// label content (the document, tests, fuzz targets) calls this first; it
// may be called any number of times.
void RegisterContentTypes();
