#include "genaudio.h"

#include <algorithm>

#include <vorbis/vorbisenc.h>

namespace {

void appendPage(std::vector<uint8_t> &out, const ogg_page &pg)
{
    out.insert(out.end(), pg.header, pg.header + pg.header_len);
    out.insert(out.end(), pg.body, pg.body + pg.body_len);
}

} // namespace

bool encodeOggVorbis(const float *interleaved, long frames, int channels, int rate, float quality, int serial,
                     const char *title, std::vector<uint8_t> &out)
{
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title);
    vorbis_comment_add_tag(&vc, "ARTIST", "Cobalt Overdrive");

    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComment);
    ogg_stream_packetin(&os, &headerCode);
    ogg_page pg;
    // The headers get pages of their own, so audio starts on a fresh page as decoders expect.
    while (ogg_stream_flush(&os, &pg))
        appendPage(out, pg);

    const long chunk = 4096;
    long done = 0;
    bool eos = false;
    while (!eos) {
        long n = std::min(chunk, frames - done);
        if (n > 0) {
            float **buf = vorbis_analysis_buffer(&vd, int(n));
            for (long i = 0; i < n; i++)
                for (int c = 0; c < channels; c++)
                    buf[c][i] = interleaved[channels * (done + i) + c];
            vorbis_analysis_wrote(&vd, int(n));
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);  // end of stream
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &pg)) {
                    appendPage(out, pg);
                    if (ogg_page_eos(&pg))
                        eos = true;
                }
            }
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}
