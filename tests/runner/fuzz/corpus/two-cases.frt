{ ŒvŽZ‚Ì—á
} ‚±‚±‚Ü‚Å
R 'IN.DAT'='“ü—Í.dat'
W 'OUT.DAT' = 'out''s.txt' ignored
w 'PLOT.DAT'='plot.txt'
P '../prog/CALC'
 comment P 'x'
PROGRAM 'C:\prog\CALC.EXE'
