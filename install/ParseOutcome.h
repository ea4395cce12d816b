#pragma once

// What one parsed chunk of report lines said about the end of a run; the last
// final-state line of the chunk counts.
enum class ParseOutcome { None = 0, Succeeded = 1, Failed = 1000 };
