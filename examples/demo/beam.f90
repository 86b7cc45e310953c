! BEAM: a simply supported beam under point loads and a uniform load.
!
! A batch program of the usual kind: it reads its case from BEAM.IN in its own folder, writes an
! output listing with carriage control in column 1 to BEAM.LST, and writes the result plots in the
! CAD program's external-transformation text format on unit 77 to BEAM.PLT (one figure per layer:
! the beam and its loads, the shear force, the bending moment and the deflection).
!
! BEAM.IN, free format:
!   line 1      title of the case (any text, code page 932)
!   line 2      span L (m), number of stations NDIV (1 to 1000), flexural rigidity EI (kN*m2)
!   line 3      number of point loads NP (0 to 20), uniform load W (kN/m, downwards)
!   NP lines    position A (m, from the left support, 0 <= A <= L) and load P (kN, downwards)
!
! Bad input stops the program with a message on standard error before any output is opened, so
! a failed case leaves no output behind. A finished case says so in one line on standard output,
! the program's console.
program beam
    implicit none
    integer, parameter :: dp = kind(1.0d0)
    integer, parameter :: maxloads = 20, maxdiv = 1000
    integer, parameter :: lines_per_page = 50
    character(len=120) :: title
    real(dp) :: span, ei, w, ra, rb, moments_about_a
    real(dp) :: a(maxloads), p(maxloads)
    real(dp) :: x(0:maxdiv), shear(0:maxdiv), moment(0:maxdiv), deflection(0:maxdiv)
    integer :: ndiv, np, i, k, ios

    open (10, file='BEAM.IN', status='old', action='read', iostat=ios)
    if (ios /= 0) call fail('BEAM.IN cannot be opened')
    read (10, '(A)', iostat=ios) title
    if (ios /= 0) call fail('the title line is missing')
    read (10, *, iostat=ios) span, ndiv, ei
    if (ios /= 0) call fail('line 2 must hold L, NDIV and EI')
    if (span <= 0.0_dp) call fail('the span must be positive')
    if (ndiv < 1 .or. ndiv > maxdiv) call fail('NDIV must be from 1 to 1000')
    if (ei <= 0.0_dp) call fail('EI must be positive')
    read (10, *, iostat=ios) np, w
    if (ios /= 0) call fail('line 3 must hold NP and W')
    if (np < 0 .or. np > maxloads) call fail('NP must be from 0 to 20')
    do k = 1, np
        read (10, *, iostat=ios) a(k), p(k)
        if (ios /= 0) call fail('a point load line must hold A and P')
        if (a(k) < 0.0_dp .or. a(k) > span) call fail('a point load lies outside the span')
    end do
    close (10)

    ! Support reactions from the moments about the left support.
    moments_about_a = w*span*span/2.0_dp
    do k = 1, np
        moments_about_a = moments_about_a + p(k)*a(k)
    end do
    rb = moments_about_a/span
    ra = w*span + sum(p(1:np)) - rb

    do i = 0, ndiv
        x(i) = span*real(i, dp)/real(ndiv, dp)
        call forces(x(i), shear(i), moment(i))
    end do

    ! Deflection in closed form, by superposition of the uniform load and each point load;
    ! reported downwards positive, in millimetres.
    do i = 0, ndiv
        deflection(i) = deflection_at(x(i))*1000.0_dp
    end do

    open (20, file='BEAM.LST', status='replace', action='write')
    call write_listing()
    close (20)
    open (77, file='BEAM.PLT', status='replace', action='write')
    call write_plot()
    close (77)
    write (*, '(A,A,A)') 'BEAM: ', trim(title), ' ... done'

contains

    subroutine fail(why)
        character(len=*), intent(in) :: why
        write (0, '(A,A)') 'BEAM: bad input: ', why
        stop 1
    end subroutine fail

    ! Shear force and bending moment just right of the section at xs.
    subroutine forces(xs, v, m)
        real(dp), intent(in) :: xs
        real(dp), intent(out) :: v, m
        integer :: j
        v = ra - w*xs
        m = ra*xs - w*xs*xs/2.0_dp
        do j = 1, np
            if (a(j) <= xs .and. xs > 0.0_dp) then
                v = v - p(j)
                m = m - p(j)*(xs - a(j))
            end if
        end do
    end subroutine forces

    real(dp) function deflection_at(xs)
        real(dp), intent(in) :: xs
        real(dp) :: b
        integer :: j
        deflection_at = w*xs*(span**3 - 2.0_dp*span*xs*xs + xs**3)/24.0_dp
        do j = 1, np
            b = span - a(j)
            if (xs <= a(j)) then
                deflection_at = deflection_at + p(j)*b*xs*(span*span - b*b - xs*xs)/(6.0_dp*span)
            else
                deflection_at = deflection_at + p(j)*a(j)*(span - xs)*(2.0_dp*span*xs - xs*xs - a(j)*a(j))/(6.0_dp*span)
            end if
        end do
        deflection_at = deflection_at/ei
    end function deflection_at

    subroutine page_header(page)
        integer, intent(in) :: page
        write (20, '(A,A,T110,A,I4)') '1', trim(title), 'PAGE', page
        write (20, '(A)') ' SIMPLY SUPPORTED BEAM  --  SHEAR FORCE, BENDING MOMENT AND DEFLECTION'
        write (20, '(A)') '0 STATION       X (M)    SHEAR (KN)  MOMENT (KN*M)  DEFLECTION (MM)'
        write (20, '(A)') ' '
    end subroutine page_header

    subroutine write_listing()
        integer :: page, on_page, imax_m, imax_d
        page = 1
        call page_header(page)
        write (20, '(A,F12.3,A)') ' SPAN L          =', span, ' M'
        write (20, '(A,ES12.4,A)') ' RIGIDITY EI     =', ei, ' KN*M2'
        write (20, '(A,F12.3,A)') ' UNIFORM LOAD W  =', w, ' KN/M'
        do k = 1, np
            write (20, '(A,I2,A,F10.3,A,F10.3,A)') ' POINT LOAD', k, ':  A =', a(k), ' M   P =', p(k), ' KN'
        end do
        write (20, '(A,F12.3,A)') '0REACTION RA     =', ra, ' KN'
        write (20, '(A,F12.3,A)') ' REACTION RB     =', rb, ' KN'
        write (20, '(A)') ' '
        on_page = 9 + np
        do i = 0, ndiv
            if (on_page >= lines_per_page) then
                page = page + 1
                call page_header(page)
                on_page = 4
            end if
            write (20, '(1X,I6,F14.3,F14.3,F15.3,F17.3)') i, x(i), shear(i), moment(i), deflection(i)
            on_page = on_page + 1
        end do
        imax_m = maxloc(abs(moment(0:ndiv)), 1) - 1
        imax_d = maxloc(abs(deflection(0:ndiv)), 1) - 1
        write (20, '(A,F12.3,A,F10.3,A)') '0MAXIMUM MOMENT     =', moment(imax_m), ' KN*M  AT X =', x(imax_m), ' M'
        write (20, '(A,F12.3,A,F10.3,A)') ' MAXIMUM DEFLECTION =', deflection(imax_d), ' MM    AT X =', &
            x(imax_d), ' M'
        write (20, '(A)') ' END OF CASE'
    end subroutine write_listing

    ! Plot records. The paper is 287 x 200 mm at scale 1/1; the beam spans 220 mm of it.
    subroutine segment(x1, y1, x2, y2)
        real(dp), intent(in) :: x1, y1, x2, y2
        write (77, '(1X,4F10.2)') x1, y1, x2, y2
    end subroutine segment

    subroutine label(xt, yt, words)
        real(dp), intent(in) :: xt, yt
        character(len=*), intent(in) :: words
        write (77, '(A,2F10.2,A,A,A)') 'ch', xt, yt, '  1 0 ', '"', trim(words)
    end subroutine label

    subroutine select(keyword, n)
        character(len=2), intent(in) :: keyword
        integer, intent(in) :: n
        write (77, '(A,1X,I0)') keyword, n
    end subroutine select

    real(dp) function px(xs)
        real(dp), intent(in) :: xs
        px = 40.0_dp + 220.0_dp*xs/span
    end function px

    subroutine frame(caption)
        character(len=*), intent(in) :: caption
        call select('lc', 1)
        call select('lt', 1)
        call select('cn', 5)
        call label(20.0_dp, 185.0_dp, trim(title))
        call select('cn', 3)
        call label(20.0_dp, 175.0_dp, caption)
    end subroutine frame

    ! One diagram of values along the beam: base line, outline through the stations, the
    ! ordinates at the ends, and the largest value written beside its place.
    subroutine diagram(caption, values, unit_text, downwards)
        character(len=*), intent(in) :: caption, unit_text
        real(dp), intent(in) :: values(0:)
        logical, intent(in) :: downwards
        real(dp) :: biggest, factor, y0, ya, yb
        character(len=40) :: number
        integer :: j, jmax
        write (77, '(A)') 'ly'
        call frame(caption)
        y0 = 100.0_dp
        biggest = maxval(abs(values(0:ndiv)))
        factor = 0.0_dp
        if (biggest > 0.0_dp) factor = 60.0_dp/biggest
        if (downwards) factor = -factor
        call select('lt', 4)
        call segment(px(0.0_dp) - 10.0_dp, y0, px(span) + 10.0_dp, y0)
        call select('lt', 1)
        call select('lc', 2)
        call segment(px(0.0_dp), y0, px(0.0_dp), y0 + factor*values(0))
        do j = 1, ndiv
            ya = y0 + factor*values(j - 1)
            yb = y0 + factor*values(j)
            call segment(px(x(j - 1)), ya, px(x(j)), yb)
        end do
        call segment(px(span), y0 + factor*values(ndiv), px(span), y0)
        jmax = maxloc(abs(values(0:ndiv)), 1) - 1
        write (number, '(F12.3)') values(jmax)
        call select('lc', 3)
        call select('cn', 2)
        write (77, '(A,3F10.2)') 'ci', px(x(jmax)), y0 + factor*values(jmax), 1.5_dp
        call label(px(x(jmax)) + 3.0_dp, y0 + factor*values(jmax) + sign(3.0_dp, factor*values(jmax)), &
                   'MAX ' // trim(adjustl(number)) // ' ' // unit_text)
    end subroutine diagram

    subroutine write_plot()
        real(dp) :: y0, xp, h
        character(len=40) :: number
        write (77, '(A)') '# BEAM result plots: beam and loads, shear force, bending moment, deflection'
        ! Figure 1: the beam, its supports and its loads.
        write (77, '(A)') 'ly'
        call frame('BEAM AND LOADS')
        y0 = 100.0_dp
        call select('lc', 1)
        call segment(px(0.0_dp), y0, px(span), y0)
        call segment(px(0.0_dp), y0 + 1.0_dp, px(span), y0 + 1.0_dp)
        ! Pin on the left, roller on the right.
        call segment(px(0.0_dp), y0, px(0.0_dp) - 5.0_dp, y0 - 8.0_dp)
        call segment(px(0.0_dp), y0, px(0.0_dp) + 5.0_dp, y0 - 8.0_dp)
        call segment(px(0.0_dp) - 8.0_dp, y0 - 8.0_dp, px(0.0_dp) + 8.0_dp, y0 - 8.0_dp)
        write (77, '(A,3F10.2)') 'ci', px(span), y0 - 4.0_dp, 4.0_dp
        call segment(px(span) - 8.0_dp, y0 - 8.0_dp, px(span) + 8.0_dp, y0 - 8.0_dp)
        ! Uniform load as a row of arrows under one line.
        call select('cn', 2)
        if (abs(w) > 0.0_dp) then
            call select('lc', 5)
            call segment(px(0.0_dp), y0 + 18.0_dp, px(span), y0 + 18.0_dp)
            do i = 0, 10
                xp = px(span*real(i, dp)/10.0_dp)
                call segment(xp, y0 + 18.0_dp, xp, y0 + 2.0_dp)
                call segment(xp, y0 + 2.0_dp, xp - 1.5_dp, y0 + 5.0_dp)
                call segment(xp, y0 + 2.0_dp, xp + 1.5_dp, y0 + 5.0_dp)
            end do
            write (number, '(F10.2)') w
            call label(px(span) + 6.0_dp, y0 + 16.0_dp, 'W=' // trim(adjustl(number)) // ' KN/M')
        end if
        ! Point loads as long arrows with their values.
        call select('lc', 2)
        do k = 1, np
            xp = px(a(k))
            h = 45.0_dp
            call segment(xp, y0 + h, xp, y0 + 2.0_dp)
            call segment(xp, y0 + 2.0_dp, xp - 2.0_dp, y0 + 7.0_dp)
            call segment(xp, y0 + 2.0_dp, xp + 2.0_dp, y0 + 7.0_dp)
            write (number, '(F10.2)') p(k)
            call label(xp + 2.0_dp, y0 + h - 3.0_dp, 'P' // achar(48 + mod(k, 10)) // '=' // trim(adjustl(number)) // ' KN')
        end do
        ! Span dimension and reactions.
        call select('lc', 1)
        call segment(px(0.0_dp), y0 - 20.0_dp, px(span), y0 - 20.0_dp)
        call segment(px(0.0_dp), y0 - 17.0_dp, px(0.0_dp), y0 - 23.0_dp)
        call segment(px(span), y0 - 17.0_dp, px(span), y0 - 23.0_dp)
        write (number, '(F10.3)') span
        call label((px(0.0_dp) + px(span))/2.0_dp - 10.0_dp, y0 - 27.0_dp, 'L=' // trim(adjustl(number)) // ' M')
        write (number, '(F10.2)') ra
        call label(px(0.0_dp) - 15.0_dp, y0 - 35.0_dp, 'RA=' // trim(adjustl(number)) // ' KN')
        write (number, '(F10.2)') rb
        call label(px(span) - 15.0_dp, y0 - 35.0_dp, 'RB=' // trim(adjustl(number)) // ' KN')
        ! Figures 2 to 4.
        call diagram('SHEAR FORCE', shear, 'KN', .false.)
        call diagram('BENDING MOMENT (TENSION SIDE)', moment, 'KN*M', .true.)
        call diagram('DEFLECTION', deflection, 'MM', .true.)
    end subroutine write_plot

end program beam
