// An ALSA control plugin for tests, so that the microphone mixer meets a real
// mixer control on a machine without sound hardware. Loaded by ALSA from the
// configuration the tests write (ALSA_CONFIG_PATH):
//   ctl_type.lyraboxtest { lib "<this library>" }
//   ctl.NAME { type lyraboxtest control "Mic Playback Volume"
//              minimum -20 maximum 40 file "<values>" }
// The control is one integer with two channels in [minimum, maximum]; its
// values live in the file ("left right"), so that a test reads what another
// process set.
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

struct TTestControl {
    snd_ctl_ext_t ext{};
    std::string control = "Mic Playback Volume";
    long minimum = 0;
    long maximum = 31;
    std::string file;
};

constexpr unsigned kChannels = 2;

TTestControl& Of(snd_ctl_ext_t* ext) {
    return *static_cast<TTestControl*>(ext->private_data);
}

void Close(snd_ctl_ext_t* ext) {
    delete &Of(ext);
}

int Count(snd_ctl_ext_t*) {
    return 1;
}

int List(snd_ctl_ext_t* ext, unsigned offset, snd_ctl_elem_id_t* id) {
    if (offset != 0) {
        return -EINVAL;
    }
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, Of(ext).control.c_str());
    return 0;
}

snd_ctl_ext_key_t Find(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
    return Of(ext).control == snd_ctl_elem_id_get_name(id) ? 0 : SND_CTL_EXT_KEY_NOT_FOUND;
}

int Attribute(snd_ctl_ext_t*, snd_ctl_ext_key_t, int* type, unsigned* access, unsigned* count) {
    *type = SND_CTL_ELEM_TYPE_INTEGER;
    *access = SND_CTL_EXT_ACCESS_READWRITE;
    *count = kChannels;
    return 0;
}

int IntegerInfo(snd_ctl_ext_t* ext, snd_ctl_ext_key_t, long* minimum, long* maximum, long* step) {
    *minimum = Of(ext).minimum;
    *maximum = Of(ext).maximum;
    *step = 0;
    return 0;
}

int Read(snd_ctl_ext_t* ext, snd_ctl_ext_key_t, long* values) {
    std::ifstream file(Of(ext).file);
    for (unsigned i = 0; i < kChannels; ++i) {
        if (!(file >> values[i])) {
            values[i] = Of(ext).minimum;
        }
    }
    return 0;
}

int Write(snd_ctl_ext_t* ext, snd_ctl_ext_key_t, long* values) {
    std::ofstream(Of(ext).file) << values[0] << ' ' << values[1] << '\n';
    return 1;
}

int ReadEvent(snd_ctl_ext_t*, snd_ctl_elem_id_t*, unsigned*) {
    return -EAGAIN;
}

const snd_ctl_ext_callback_t kCallbacks = [] {
    snd_ctl_ext_callback_t callbacks{};
    callbacks.close = Close;
    callbacks.elem_count = Count;
    callbacks.elem_list = List;
    callbacks.find_elem = Find;
    callbacks.get_attribute = Attribute;
    callbacks.get_integer_info = IntegerInfo;
    callbacks.read_integer = Read;
    callbacks.write_integer = Write;
    callbacks.read_event = ReadEvent;
    return callbacks;
}();

}  // namespace

extern "C" {

SND_CTL_PLUGIN_DEFINE_FUNC(lyraboxtest) {
    (void)root;
    auto* control = new TTestControl;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf) {
        snd_config_t* item = snd_config_iterator_entry(i);
        const char* key = nullptr;
        snd_config_get_id(item, &key);
        const char* text = nullptr;
        long number = 0;
        if (std::strcmp(key, "control") == 0 && snd_config_get_string(item, &text) == 0) {
            control->control = text;
        } else if (std::strcmp(key, "file") == 0 && snd_config_get_string(item, &text) == 0) {
            control->file = text;
        } else if (std::strcmp(key, "minimum") == 0 && snd_config_get_integer(item, &number) == 0) {
            control->minimum = number;
        } else if (std::strcmp(key, "maximum") == 0 && snd_config_get_integer(item, &number) == 0) {
            control->maximum = number;
        }
    }
    snd_ctl_ext_t& ext = control->ext;
    ext.version = SND_CTL_EXT_VERSION;
    ext.card_idx = 0;
    std::strncpy(ext.id, "lyraboxtest", sizeof ext.id - 1);
    std::strncpy(ext.driver, "lyraboxtest", sizeof ext.driver - 1);
    std::strncpy(ext.name, "Test microphone", sizeof ext.name - 1);
    std::strncpy(ext.longname, "Test microphone", sizeof ext.longname - 1);
    std::strncpy(ext.mixername, "Test microphone", sizeof ext.mixername - 1);
    ext.poll_fd = -1;
    ext.callback = &kCallbacks;
    ext.private_data = control;
    if (int error = snd_ctl_ext_create(&ext, name, mode); error < 0) {
        delete control;
        return error;
    }
    *handlep = ext.handle;
    return 0;
}

SND_CTL_PLUGIN_SYMBOL(lyraboxtest);

}  // extern "C"
