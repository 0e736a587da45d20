#!/usr/bin/env python3
# Reference coefficients of the piecewise-exact recurrence (Nigam & Jennings 1969) in
# 200-digit decimal arithmetic, where the closed form's cancellation costs nothing.
from decimal import Decimal as D, getcontext
getcontext().prec = 200
def exp(x):
    s=D(1); t=D(1); k=1
    while True:
        t=t*x/k; 
        if abs(t) < D(10)**-220: break
        s+=t; k+=1
    return s
def sincos(x):
    s=D(0); c=D(0); t=D(1); k=0
    while True:
        if k%4==0: c+=t
        elif k%4==1: s+=t
        elif k%4==2: c-=t
        else: s-=t
        k+=1; t=t*x/k
        if abs(t) < D(10)**-220 and k>4: break
    return s,c
def sqrt(x): return x.sqrt()
def coeff(zeta, omega, h):
    zeta=D(zeta); omega=D(omega); h=D(h)
    E=exp(-zeta*omega*h); wd=omega*sqrt(1-zeta*zeta); S,K=sincos(wd*h)
    A=(zeta*omega*S/wd+K)*E; B=E*S/wd; Ap=-(omega*omega)*E*S/wd; Bp=(K-zeta*omega*S/wd)*E
    P=(2*zeta*zeta-1)/(omega*omega*h); Q=2*zeta/(omega**3*h)
    X=K-omega*zeta*S/wd; Y=wd*S+zeta*omega*K
    i2=1/(omega*omega); i2h=1/(omega*omega*h)
    C=E*((zeta/omega+P)*S/wd+(i2+Q)*K)-Q
    Dd=-E*(P*S/wd+Q*K)-i2+Q
    Cp=E*((zeta/omega+P)*X-(i2+Q)*Y)+i2h
    Dp=-E*(P*X-Q*Y)-i2h
    return [A,B,Ap,Bp,C,Dd,Cp,Dp]
import sys
# omega passed as the double the program uses: 6.2831852 / T rounded to double
for zeta,T,h in [(0.05,1.0,1e-15),(0.05,0.01,1e-8),(0.02,10.0,0.01),(0.05,1.0,0.0015),(0.05,1.0,0.0017),(0.2,0.5,0.005),(0.0,2.0,1e-6),(0.3,0.05,0.01/12)]:
    omega = 6.2831852/T   # double, as the program forms it
    h = float(h)
    vals = coeff(D(zeta), D(omega), D(h))
    print("    {%r, %r, %r, {%s}}," % (zeta, omega, h, ", ".join("%.17g"%float(v) for v in vals)))
