// Compiled only to build the precompiled toolkit header that every target reuses.
