#include "signal/analysis/KAudioSample.h"

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"

// Built without an audio-file reader: every file is unreadable, with the
// same message a reader gives for a file it cannot decode.
KAudioSample KAudioSample::Read(const KString& path) {
    KString message = KFormatter("Unable to read the sample file {0}.") << path;
    message.Append(" Audio files cannot be read in this build.");
    throw KException(message);
}
