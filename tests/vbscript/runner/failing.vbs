' vbsrun must exit with a failure status when an ok() call fails.
ok 1 = 2, "this check fails on purpose"
