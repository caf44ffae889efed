// Matrix helpers of the utility library: the left-handed perspective
// projection that the device's projection transform is built from.
#include "d3dx/d3dx8.h"

#include <math.h>

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovy, float aspect, float zn,
                                              float zf)
{
    // yScale = cot(fovy / 2), xScale = yScale / aspect; z maps [zn, zf] to
    // [0, 1] and w takes the view-space z.
    const float yScale = 1.0f / tanf(fovy / 2.0f);
    const float xScale = yScale / aspect;
    ZeroMemory(out, sizeof(*out));
    out->_11 = xScale;
    out->_22 = yScale;
    out->_33 = zf / (zf - zn);
    out->_34 = 1.0f;
    out->_43 = -zn * zf / (zf - zn);
    return out;
}
