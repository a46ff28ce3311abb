# The fuzz harnesses, one per reader of untrusted input: fuzz_<name>.cpp,
# with its seed inputs in seeds/<name>/.
set(VNA_FUZZ_HARNESSES
  cal_file scan_a scan_b tdr_file xtal_file markers init_file state_file config_file mailbox
  instrument_reply)
