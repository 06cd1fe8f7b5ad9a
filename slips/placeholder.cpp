// Keeps the library non-empty until the slip documents arrive.
