/* A virtual ALSA playback card for the sound tests on machines without a sound card: it takes frames
 * at its rate by the clock, as a card does, and appends one line to its log for every transfer that
 * holds sound:
 *
 *     FIRST_MS LAST_MS COUNT RATE
 *
 * the wall-clock times (CLOCK_REALTIME milliseconds) at which the card plays the first and the last
 * loud frame of the transfer, and how many frames are loud (a channel above 640 of 32768, as
 * record-sink.py counts). When the application is late the card plays silence and its later frames
 * play that much later (no xrun).
 *
 *     pcm_type.virtual_card { lib "DIR/libasound_module_pcm_virtual_card.so" }
 *     pcm.virtualcard { type virtual_card log "DIR/card.log" }
 */
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>

#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

typedef struct {
    snd_pcm_ioplug_t io;
    int timer;
    int running;
    double start;               /* monotonic seconds at which frame 0 plays */
    unsigned long long written; /* frames taken since prepare */
    double wall_offset;         /* realtime - monotonic, seconds */
    FILE *log;
} card_t;

static double seconds(clockid_t clock)
{
    struct timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

/* Frames played since the start; an underrun moves the start on instead of stopping the card. */
static unsigned long long played(card_t *card)
{
    if (!card->running)
        return 0;
    const double elapsed = (seconds(CLOCK_MONOTONIC) - card->start) * card->io.rate;
    const unsigned long long frames = elapsed > 0 ? (unsigned long long)elapsed : 0;
    if (frames <= card->written)
        return frames;
    card->start += (double)(frames - card->written) / card->io.rate;
    return card->written;
}

static int card_start(snd_pcm_ioplug_t *io)
{
    card_t *card = io->private_data;
    card->start = seconds(CLOCK_MONOTONIC);
    card->running = 1;
    return 0;
}

static int card_stop(snd_pcm_ioplug_t *io)
{
    card_t *card = io->private_data;
    card->running = 0;
    return 0;
}

static int card_prepare(snd_pcm_ioplug_t *io)
{
    card_t *card = io->private_data;
    card->running = 0;
    card->written = 0;
    return 0;
}

static snd_pcm_sframes_t card_pointer(snd_pcm_ioplug_t *io)
{
    return played(io->private_data) % io->buffer_size;
}

static int loud(const snd_pcm_ioplug_t *io, const snd_pcm_channel_area_t *areas, snd_pcm_uframes_t frame)
{
    for (unsigned c = 0; c < io->channels; c++) {
        const char *sample = (const char *)areas[c].addr + (areas[c].first + frame * areas[c].step) / 8;
        if (abs(*(const short *)sample) > 640)
            return 1;
    }
    return 0;
}

static snd_pcm_sframes_t card_transfer(snd_pcm_ioplug_t *io, const snd_pcm_channel_area_t *areas,
                                       snd_pcm_uframes_t offset, snd_pcm_uframes_t size)
{
    card_t *card = io->private_data;
    long first = -1, last = -1, count = 0;
    for (snd_pcm_uframes_t i = 0; i < size; i++) {
        if (loud(io, areas, offset + i)) {
            first = first < 0 ? (long)i : first;
            last = (long)i;
            count++;
        }
    }
    if (count > 0 && card->log) {
        played(card);
        const double at = (card->running ? card->start : seconds(CLOCK_MONOTONIC)) + card->wall_offset
                          + (double)card->written / io->rate;
        fprintf(card->log, "%.3f %.3f %ld %u\n", (at + (double)first / io->rate) * 1e3,
                (at + (double)last / io->rate) * 1e3, count, io->rate);
    }
    card->written += size;
    return size;
}

static int card_poll_revents(snd_pcm_ioplug_t *io, struct pollfd *pfd, unsigned int nfds, unsigned short *revents)
{
    card_t *card = io->private_data;
    unsigned long long ticks;
    (void)pfd;
    (void)nfds;
    while (read(card->timer, &ticks, sizeof ticks) > 0) {
    }
    const unsigned long long queued = card->written - played(card);
    const snd_pcm_uframes_t room = queued >= io->buffer_size ? 0 : io->buffer_size - queued;
    *revents = room >= io->period_size ? POLLOUT : 0;
    return 0;
}

/* The timer wakes a waiting application a few times per period, at least every 2 ms. */
static int card_hw_params(snd_pcm_ioplug_t *io, snd_pcm_hw_params_t *params)
{
    card_t *card = io->private_data;
    (void)params;
    double tick = (double)io->period_size / io->rate / 4;
    tick = tick > 0.002 ? 0.002 : tick;
    struct itimerspec spec = {{0, (long)(tick * 1e9)}, {0, (long)(tick * 1e9)}};
    return timerfd_settime(card->timer, 0, &spec, NULL) < 0 ? -errno : 0;
}

static int card_close(snd_pcm_ioplug_t *io)
{
    card_t *card = io->private_data;
    if (card->log)
        fclose(card->log);
    close(card->timer);
    free(card);
    return 0;
}

static const snd_pcm_ioplug_callback_t callbacks = {
    .start = card_start,
    .stop = card_stop,
    .pointer = card_pointer,
    .transfer = card_transfer,
    .close = card_close,
    .hw_params = card_hw_params,
    .prepare = card_prepare,
    .poll_revents = card_poll_revents,
};

static const char *log_path(snd_config_t *conf)
{
    const char *path = NULL;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf)
    {
        snd_config_t *entry = snd_config_iterator_entry(i);
        const char *id;
        if (snd_config_get_id(entry, &id) == 0 && strcmp(id, "log") == 0)
            snd_config_get_string(entry, &path);
    }
    return path;
}

static void set_constraints(snd_pcm_ioplug_t *io)
{
    static const unsigned int access[] = {SND_PCM_ACCESS_RW_INTERLEAVED, SND_PCM_ACCESS_MMAP_INTERLEAVED};
    static const unsigned int formats[] = {SND_PCM_FORMAT_S16_LE};
    snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 2, access);
    snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT, 1, formats);
    snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2);
    snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_RATE, 8000, 48000);
    snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 1 << 20);
    snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 1024);
    snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_BUFFER_BYTES, 128, 4 << 20);
}

SND_PCM_PLUGIN_DEFINE_FUNC(virtual_card)
{
    (void)root;
    if (stream != SND_PCM_STREAM_PLAYBACK)
        return -EINVAL;
    card_t *card = calloc(1, sizeof *card);
    if (!card)
        return -ENOMEM;
    const char *path = log_path(conf);
    card->log = path ? fopen(path, "a") : NULL;
    if (card->log)
        setvbuf(card->log, NULL, _IOLBF, 0); /* whole lines, readable while the card is open */
    card->wall_offset = seconds(CLOCK_REALTIME) - seconds(CLOCK_MONOTONIC);
    card->timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    card->io.version = SND_PCM_IOPLUG_VERSION;
    card->io.name = "Virtual sound card";
    card->io.callback = &callbacks;
    card->io.private_data = card;
    card->io.poll_fd = card->timer;
    card->io.poll_events = POLLIN;
    const int err = snd_pcm_ioplug_create(&card->io, name, stream, mode);
    if (err < 0) {
        card_close(&card->io);
        return err;
    }
    set_constraints(&card->io);
    *pcmp = card->io.pcm;
    return 0;
}

SND_PCM_PLUGIN_SYMBOL(virtual_card);
