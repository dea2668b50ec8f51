#pragma once
// Which of the two passes: the backup (Start, /backup) or the restore (Restore, /restore). Used by
// the hosts of the passes, their progress and the unattended run.
//
// Platform-free; a plain value.

enum class PassKind { Backup, Restore };
