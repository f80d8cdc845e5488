# How project.sqlite and the recompute outputs beside it were made, by the release whose files
# carried no version (user_version 0). Kept to read, not to run again: today's program writes
# newer files.
set -e
CLI=build/bin/tarmela-cli
P=tests/data/version0/project.sqlite
rm -f $P*
$CLI --project $P sample --sections 26
$CLI --project $P recompute 1
$CLI --project $P new-road --from Hill --to Pass --length 100 --interval 20
$CLI --project $P cross-distances 2 L1=3 L2=4 R1=3 R2=4
printf 'Chainage,BS,L2,L1,C,R1,R2,FS,TopWidth,BottomWidth,Remarks\r\n0,1.5,1.62,1.41,1.2,1.35,1.48,,7.5,8.5,"BM on parapet"\r\n20,,1.71,1.52,1.3,1.44,1.6,,,,\r\n40,0.9,,,,,,1.8,,,change point\r\n60,,1.2,1.05,0.95,1.1,1.25,,,,\r\n80,,1.35,1.2,1.1,1.22,1.4,,,,\r\n' > /tmp/lb.csv
$CLI --project $P import 2 lb /tmp/lb.csv
$CLI --project $P reduce 2 --benchmark 102.105
printf 'Chainage,FC,Width,Crust,Left Slope,Right Slope\r\n0,101.5,7.5,0.3,2,2\r\n20,101.4,7.5,0.3,2,2\r\n40,101.3,7.5,0.3,2,2\r\n60,101.2,7.5,0.3,2,2\r\n80,101.1,7.5,0.3,2,2\r\n' > /tmp/rl.csv
$CLI --project $P import 2 rl /tmp/rl.csv
$CLI --project $P recompute 2
$CLI --project $P recompute 1 --json > tests/data/version0/recompute-1.json
$CLI --project $P recompute 2 --json > tests/data/version0/recompute-2.json
sqlite3 $P 'PRAGMA wal_checkpoint(TRUNCATE)' 2>/dev/null || true
