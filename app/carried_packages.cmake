# The program files this release carries: resource type, resource name, file,
# and the file's size in this release (the size of its stand-in). The Linux
# program carries them in its appended bundle, the Windows one as PE resources.
set(KV_CARRIED_PACKAGES
  EXE KV7D   kv700_d.exe  5677568
  EXE TONIC7 tonic700.exe 1234432
  BPL BPL5   kv5.bpl      54784)
